#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace
{
struct ProductsRun {
    int code = -1;
    QByteArray out, err;
};

ProductsRun cli(const QStringList &args, const QString &templates)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DORLIX_LABEL_TEMPLATES"), templates);
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(DORLIX_BIN_DIR "/dorlix-cli"), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

const QString kData = QStringLiteral(DORLIX_SOURCE_DIR "/tests/data/glabels");
} // namespace

TEST(CliProducts, ListsMatchingProducts)
{
    ProductsRun r = cli({QStringLiteral("products"), QStringLiteral("5160")}, kData);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out),
              QStringLiteral("Avery\t15160\t3×10\t66.7×25.4 mm\nAvery\t5160\t3×10\t66.7×25.4 mm\n"));
    r = cli({QStringLiteral("products"), QStringLiteral("70"), QStringLiteral("x"), QStringLiteral("36")},
            kData);
    EXPECT_TRUE(
        QString::fromUtf8(r.out).startsWith(QStringLiteral("Zweckform\t3475\t3×8\t70.1×36.0 mm\tFelder ")));
    r = cli({QStringLiteral("products")}, kData);
    EXPECT_EQ(r.out.count('\n'), 10);
}

TEST(CliProducts, NewWritesTheSheetOfTheProduct)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("adressen.rsd"));
    ProductsRun r = cli({QStringLiteral("new"), QStringLiteral("zweckform 3348"), out}, kData);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = cli({QStringLiteral("dump"), out}, kData);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const nlohmann::json j = nlohmann::json::parse(r.out.toStdString());
    EXPECT_EQ(j["ColumnCount"], 3);
    EXPECT_EQ(j["RowCount"], 7);
    EXPECT_NEAR(j["PageWidth"].get<double>(), 210, 1e-9);
    EXPECT_NEAR(j["MarginLeft"].get<double>(), 2.0, 0.01);
    EXPECT_NEAR(j["ColumnGap"].get<double>(), 3.0, 0.01);
    EXPECT_NEAR(j["MarginTop"].get<double>(), 20.0, 0.01);

    // Binder spines close to the top edge keep a negative margin in the file.
    r = cli({QStringLiteral("new"), QStringLiteral("Herma 5090"), out}, kData);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = cli({QStringLiteral("dump"), out}, kData);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const nlohmann::json spine = nlohmann::json::parse(r.out.toStdString());
    EXPECT_EQ(spine["RowCount"], 6);
    EXPECT_NEAR(spine["MarginTop"].get<double>(), -0.5, 0.01);
    EXPECT_NEAR(spine["MarginBottom"].get<double>(), -0.5, 0.01);
}

TEST(CliProducts, UnknownProductAndMissingDatabase)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.rsd"));
    ProductsRun r = cli({QStringLiteral("new"), QStringLiteral("Zweckform 9999"), out}, kData);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("nicht bekannt")));
    EXPECT_FALSE(QFile::exists(out));
    r = cli({QStringLiteral("new"), QStringLiteral("Zweckform")}, kData);
    EXPECT_EQ(r.code, 2);
    r = cli({QStringLiteral("products")}, dir.filePath(QStringLiteral("none")));
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("glabels-data")));
}
