// The vendor label products in the layout dialog: filled in the background,
// filtered like "dorlix-cli products", chosen like a standard, and absent
// without the template database.
#include "controls/MUVButton.h"
#include "controls/SpezialSpin.h"
#include "dialogs/rsneu.h"
#include "platform/printer.h"
#include "template_folder_env.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{
const QString kTemplates = QStringLiteral(DORLIX_SOURCE_DIR "/tests/data/glabels");

bool waitFor(const std::function<bool()> &pred)
{
    for (int i = 0; i < 500 && !pred(); ++i)
        QTest::qWait(10);
    return pred();
}

class LabelProductsInDialog : public ::testing::Test
{
  protected:
    LabelProductsInDialog()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
    }

    // A new dialog, shown as for a new sheet, with its products read.
    std::unique_ptr<TForm_RSNEU> openWithProducts()
    {
        auto dlg = std::make_unique<TForm_RSNEU>();
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        EXPECT_TRUE(waitFor([&] { return dlg->lst_Etiketten->count() > 0; }));
        return dlg;
    }
    // The products the list shows now, as "VENDOR PART", top to bottom.
    static QStringList shown(const TForm_RSNEU &dlg)
    {
        QStringList names;
        for (int row = 0; row < dlg.lst_Etiketten->count(); ++row)
            if (!dlg.lst_Etiketten->item(row)->isHidden())
                names << dlg.lst_Etiketten->item(row)->text().section(QLatin1Char('\n'), 0, 0);
        return names;
    }
    static QStringList names(const QVector<const TLabelProduct *> &products)
    {
        QStringList n;
        for (const TLabelProduct *p : products)
            n << p->Vendor + QLatin1Char(' ') + p->Part;
        return n;
    }
    // Types a search as the user does, replacing what was there.
    static void search(TForm_RSNEU &dlg, const QString &text)
    {
        dlg.edt_EtikettSuche->setFocus();
        QTest::keyClick(dlg.edt_EtikettSuche, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(dlg.edt_EtikettSuche, Qt::Key_Delete);
        QTest::keyClicks(dlg.edt_EtikettSuche, text);
    }
    // Clicks the shown entry of a product.
    static void click(TForm_RSNEU &dlg, const QString &vendorAndPart)
    {
        for (int row = 0; row < dlg.lst_Etiketten->count(); ++row) {
            QListWidgetItem *item = dlg.lst_Etiketten->item(row);
            if (item->isHidden() || item->text().section(QLatin1Char('\n'), 0, 0) != vendorAndPart)
                continue;
            dlg.lst_Etiketten->scrollToItem(item);
            const QRect r = dlg.lst_Etiketten->visualItemRect(item);
            QTest::mouseClick(dlg.lst_Etiketten->viewport(), Qt::LeftButton, {}, r.center());
            return;
        }
        ADD_FAILURE() << "not listed: " << vendorAndPart.toStdString();
    }

    ScopedTemplateFolder templates_{kTemplates};
    const TLabelProductList expected_ = ReadLabelProducts(kTemplates);
};

TEST_F(LabelProductsInDialog, ListFillsInTheBackgroundWithEveryProduct)
{
    TForm_RSNEU dlg;
    // Room is made at once; the products follow.
    EXPECT_TRUE(dlg.pnl_Etiketten->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.size(), QSize(671 + 318, 536));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    ASSERT_TRUE(waitFor([&] { return dlg.lst_Etiketten->count() > 0; }));
    ASSERT_NE(dlg.LabelProducts(), nullptr);
    ASSERT_EQ(dlg.lst_Etiketten->count(), expected_.Products.size());
    EXPECT_EQ(shown(dlg), names(expected_.Filter(QString())));
    EXPECT_TRUE(dlg.edt_EtikettSuche->isEnabled());
    EXPECT_EQ(dlg.lbl_EtikettenAnzahl->text(), QStringLiteral("%1 Produkte").arg(expected_.Products.size()));

    // Vendor, part, columns × rows, label size and, where the fields are
    // narrower than the labels, the note.
    for (int row = 0; row < dlg.lst_Etiketten->count(); ++row) {
        const TLabelProduct &p = expected_.Products[row];
        const QString text = dlg.lst_Etiketten->item(row)->text();
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(text.startsWith(p.Vendor + QLatin1Char(' ') + p.Part + QLatin1Char('\n')));
        EXPECT_EQ(text.count(QLatin1Char('\n')), 1); // all rows of one height
        EXPECT_TRUE(text.contains(p.GridText()));
        // The kind in German words, never the database's English.
        if (!p.KindText().isEmpty()) {
            EXPECT_TRUE(text.contains(p.GridText() + QLatin1Char(' ') + p.KindText().section(", ", 0, 0)));
            EXPECT_FALSE(dlg.lst_Etiketten->item(row)->toolTip().contains(p.Description));
        }
        // The size with the German decimal comma ("70,0×36,0 mm").
        EXPECT_TRUE(text.contains(QString(p.SizeText()).replace(QLatin1Char('.'), QLatin1Char(','))));
        EXPECT_EQ(text.contains(QStringLiteral("schmaler")), !p.Note.isEmpty());
        if (!p.Note.isEmpty()) {
            EXPECT_TRUE(text.endsWith(p.Note));
        }
    }
    // OK and cancel moved along to the right edge.
    EXPECT_EQ(dlg.btn_cancel->geometry().right(), dlg.width() - 12);
    EXPECT_LE(dlg.pnl_Etiketten->geometry().right(), dlg.width());
}

TEST_F(LabelProductsInDialog, DatabaseIsReadOncePerProcess)
{
    auto first = openWithProducts();
    const TLabelProductList *list = first->LabelProducts();
    ASSERT_NE(list, nullptr);
    // A second dialog gets the very same list, with no second reading.
    TForm_RSNEU second;
    EXPECT_EQ(TLabelProductStore::Ready().get(), list);
    EXPECT_TRUE(waitFor([&] { return second.LabelProducts() != nullptr; }));
    EXPECT_EQ(second.LabelProducts(), list);
    EXPECT_EQ(second.lst_Etiketten->count(), expected_.Products.size());
}

TEST_F(LabelProductsInDialog, FilterNarrowsLikeTheCommandLine)
{
    auto dlg = openWithProducts();
    search(*dlg, QStringLiteral("3475"));
    EXPECT_EQ(shown(*dlg), QStringList{QStringLiteral("Zweckform 3475")});
    EXPECT_EQ(shown(*dlg), names(expected_.Filter(QStringLiteral("3475"))));
    EXPECT_EQ(dlg->lbl_EtikettenAnzahl->text(), QStringLiteral("1 von %1").arg(expected_.Products.size()));

    search(*dlg, QStringLiteral("70 x 36"));
    const QStringList bySize = shown(*dlg);
    EXPECT_EQ(bySize, names(expected_.Filter(QStringLiteral("70 x 36"))));
    EXPECT_TRUE(bySize.contains(QStringLiteral("Zweckform 3475")));
    EXPECT_FALSE(bySize.contains(QStringLiteral("Herma 4464"))); // 70.2 × 37.0
    EXPECT_FALSE(bySize.contains(QStringLiteral("Avery 5160")));

    search(*dlg, QStringLiteral("avery"));
    EXPECT_EQ(shown(*dlg), (QStringList{QStringLiteral("Avery 15160"), QStringLiteral("Avery 5160")}));
    search(*dlg, QStringLiteral("gibt es nicht"));
    EXPECT_TRUE(shown(*dlg).isEmpty());
    search(*dlg, QString());
    EXPECT_EQ(shown(*dlg).size(), expected_.Products.size());
}

TEST_F(LabelProductsInDialog, ChoosingAProductFillsItsValuesLikeAStandard)
{
    auto dlg = openWithProducts();
    const TLabelProduct *product = expected_.Find(QStringLiteral("Zweckform 3475"));
    ASSERT_NE(product, nullptr);
    dlg->ApplyPreset(1); // something else first
    search(*dlg, QStringLiteral("3475"));
    click(*dlg, QStringLiteral("Zweckform 3475"));

    const TRSLayoutValues v = dlg->Values();
    EXPECT_DOUBLE_EQ(v.PageWidth, product->PageWidth);
    EXPECT_DOUBLE_EQ(v.PageHeight, product->PageHeight);
    EXPECT_DOUBLE_EQ(v.MarginLeft, product->MarginLeft);
    EXPECT_DOUBLE_EQ(v.MarginRight, product->MarginRight);
    EXPECT_DOUBLE_EQ(v.MarginTop, product->MarginTop);
    EXPECT_DOUBLE_EQ(v.MarginBottom, product->MarginBottom);
    EXPECT_EQ(v.Columns, 3);
    EXPECT_EQ(v.Rows, 8);
    EXPECT_DOUBLE_EQ(v.ColumnGap, product->ColumnGap);
    EXPECT_DOUBLE_EQ(v.FieldSpacing, product->FieldSpacing);
    EXPECT_DOUBLE_EQ(v.LineFactor, 1.0); // the product leaves it as it was
    // A portrait page turns the printer to portrait, as a standard does.
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Portrait);
    EXPECT_EQ(dlg->lbl_HQ->text(), QStringLiteral("(Hochformat)"));
    // The standard is no longer chosen, the product is, and its note shows.
    EXPECT_EQ(dlg->combo_STDs->currentIndex(), -1);
    ASSERT_NE(dlg->ChosenLabelProduct(), nullptr);
    EXPECT_EQ(dlg->ChosenLabelProduct()->Part, QStringLiteral("3475"));
    EXPECT_TRUE(dlg->lbl_EtikettHinweis->text().contains(product->Note));
    EXPECT_EQ(dlg->lbl_Ebreite->text(), FormatMeasure(LayoutColumnWidth(v)));

    // A standard chosen now clears the product; the product chosen again
    // fills all its values again.
    dlg->combo_STDs->setFocus();
    QTest::keyClick(dlg->combo_STDs, Qt::Key_Home);
    EXPECT_EQ(dlg->combo_STDs->currentIndex(), 0);
    EXPECT_EQ(dlg->ChosenLabelProduct(), nullptr);
    EXPECT_TRUE(dlg->lbl_EtikettHinweis->text().isEmpty());
    EXPECT_EQ(dlg->Values().Columns, 4);
    click(*dlg, QStringLiteral("Zweckform 3475"));
    EXPECT_EQ(dlg->Values().Columns, 3);
    EXPECT_DOUBLE_EQ(dlg->Values().MarginTop, product->MarginTop);
    EXPECT_EQ(dlg->combo_STDs->currentIndex(), -1);

    // A value typed by the user: no longer the product.
    QLineEdit *rows = dlg->spin_elem->Editor();
    rows->setFocus();
    QTest::keyClick(rows, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(rows, QStringLiteral("9"));
    QTest::keyClick(rows, Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return dlg->ChosenLabelProduct() == nullptr; }));
    EXPECT_EQ(dlg->Values().Rows, 9);
}

TEST_F(LabelProductsInDialog, LandscapeProductTurnsThePrinter)
{
    auto dlg = openWithProducts();
    // A made-up product on a landscape page, chosen from outside the list.
    TLabelProduct p = expected_.Products.front();
    p.PageWidth = 297;
    p.PageHeight = 210;
    dlg->ApplyLabelProduct(p);
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Landscape);
    EXPECT_DOUBLE_EQ(dlg->Values().PageWidth, 297);
    EXPECT_EQ(dlg->ChosenLabelProduct(), nullptr); // not one of the list's
}

TEST_F(LabelProductsInDialog, KeyDownFromTheSearchChoosesTheFirstFound)
{
    auto dlg = openWithProducts();
    search(*dlg, QStringLiteral("herma"));
    QTest::keyClick(dlg->edt_EtikettSuche, Qt::Key_Down);
    ASSERT_NE(dlg->ChosenLabelProduct(), nullptr);
    EXPECT_EQ(dlg->ChosenLabelProduct()->Part, QStringLiteral("4283"));
    EXPECT_TRUE(dlg->lst_Etiketten->hasFocus());
    EXPECT_EQ(dlg->Values().Rows, 6);
}

TEST_F(LabelProductsInDialog, TabbingIntoTheListKeepsWhatWasTyped)
{
    auto dlg = openWithProducts();
    QLineEdit *rows = dlg->spin_elem->Editor();
    rows->setFocus();
    QTest::keyClick(rows, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(rows, QStringLiteral("9"));
    QTest::keyClick(rows, Qt::Key_Return);
    ASSERT_EQ(dlg->Values().Rows, 9);
    const TRSLayoutValues typed = dlg->Values();

    // Tab into the list: an entry gets the focus frame, nothing is applied.
    dlg->lst_Etiketten->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(dlg->lst_Etiketten->hasFocus());
    EXPECT_EQ(dlg->ChosenLabelProduct(), nullptr);
    EXPECT_EQ(dlg->Values().Rows, 9);
    EXPECT_DOUBLE_EQ(dlg->Values().MarginTop, typed.MarginTop);

    // Enter on the entry with the focus frame chooses it.
    const QListWidgetItem *current = dlg->lst_Etiketten->currentItem();
    ASSERT_NE(current, nullptr);
    QTest::keyClick(dlg->lst_Etiketten, Qt::Key_Return);
    ASSERT_NE(dlg->ChosenLabelProduct(), nullptr);
    EXPECT_EQ(dlg->ChosenLabelProduct()->Vendor + QLatin1Char(' ') + dlg->ChosenLabelProduct()->Part,
              current->text().section(QLatin1Char('\n'), 0, 0));
    EXPECT_EQ(dlg->Values().Rows, dlg->ChosenLabelProduct()->Rows);
    EXPECT_TRUE(dlg->isVisible()); // Enter chose, it did not close the dialog

    // The arrow keys choose the next one.
    QTest::keyClick(dlg->lst_Etiketten, Qt::Key_Down);
    ASSERT_NE(dlg->ChosenLabelProduct(), nullptr);
    EXPECT_EQ(dlg->ChosenLabelProduct(),
              &dlg->LabelProducts()->Products[dlg->lst_Etiketten->row(current) + 1]);
    EXPECT_EQ(dlg->Values().Rows, dlg->ChosenLabelProduct()->Rows);
}

TEST_F(LabelProductsInDialog, ChangeModeOffersOnlyProductsOfTheSheetsPaper)
{
    auto dlg = openWithProducts();
    dlg->hide();
    const auto openChange = [](TForm_RSNEU &change, double width, double height) {
        TRSLayoutValues v = change.Values();
        v.PageWidth = width;
        v.PageHeight = height;
        change.SetValues(v);
        change.SetChangeMode();
        change.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&change));
    };
    {
        // An A4 portrait sheet: the A4 products, not those on US Letter.
        TForm_RSNEU change;
        openChange(change, 210, 297);
        const QStringList offered = shown(change);
        EXPECT_TRUE(offered.contains(QStringLiteral("Herma 4464")));
        EXPECT_TRUE(offered.contains(QStringLiteral("Zweckform 3475")));
        EXPECT_FALSE(offered.contains(QStringLiteral("Avery 5160")));
        click(change, QStringLiteral("Herma 4464"));
        EXPECT_EQ(change.Values().Columns, 3);
        EXPECT_DOUBLE_EQ(change.Values().PageWidth, 210);
        change.btn_okClick();
        EXPECT_EQ(change.result(), TForm_RSNEU::mrOk);
    }
    {
        // A landscape sheet: no product of the database fits, and the note
        // says why.
        TForm_RSNEU change;
        openChange(change, 297, 210);
        EXPECT_TRUE(shown(change).isEmpty());
        EXPECT_TRUE(change.lbl_EtikettHinweis->text().contains(QStringLiteral("297,0 × 210,0 mm")))
            << change.lbl_EtikettHinweis->text().toStdString();
        search(change, QStringLiteral("herma"));
        EXPECT_TRUE(shown(change).isEmpty());
    }
}

TEST_F(LabelProductsInDialog, BinderSpinesNearTheEdgeKeepTheirNegativeMargins)
{
    for (const char *part : {"Herma 4283", "Herma 5090", "Herma 4284"}) {
        SCOPED_TRACE(part);
        const TLabelProduct *product = expected_.Find(QString::fromLatin1(part));
        ASSERT_NE(product, nullptr);
        // Chosen for a new sheet: the dialog holds the negative margins and
        // accepts them.
        auto dlg = openWithProducts();
        search(*dlg, QString::fromLatin1(part).section(QLatin1Char(' '), 1));
        click(*dlg, QString::fromLatin1(part));
        TRSLayoutValues v = dlg->Values();
        EXPECT_DOUBLE_EQ(v.MarginTop, product->MarginTop);
        EXPECT_DOUBLE_EQ(v.MarginBottom, product->MarginBottom);
        EXPECT_EQ(LayoutProblem(v), QString());
        dlg->btn_okClick();
        EXPECT_EQ(dlg->result(), TForm_RSNEU::mrOk);

        // "Ändern" of such a sheet and OK: every value stays.
        TForm_RSNEU change;
        change.SetValues(v);
        change.SetChangeMode();
        change.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&change));
        change.btn_okClick();
        EXPECT_EQ(change.result(), TForm_RSNEU::mrOk);
        const TRSLayoutValues after = change.Values();
        EXPECT_DOUBLE_EQ(after.MarginTop, v.MarginTop);
        EXPECT_DOUBLE_EQ(after.MarginBottom, v.MarginBottom);
        EXPECT_DOUBLE_EQ(after.FieldSpacing, v.FieldSpacing);
        EXPECT_EQ(after.Rows, v.Rows);

        // Typed below -1.5 spacings, the field takes the least it allows.
        QLineEdit *top = change.spin_raob->Editor();
        top->setFocus();
        QTest::keyClick(top, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(top, QStringLiteral("-20"));
        QTest::keyClick(top, Qt::Key_Return);
        EXPECT_DOUBLE_EQ(change.Values().MarginTop, -1.5 * v.FieldSpacing);
    }
}

class LabelProductsAbsent : public ::testing::Test
{
  protected:
    LabelProductsAbsent()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
    }
    QTemporaryDir folder_;
};

TEST_F(LabelProductsAbsent, EmptyFolderHidesTheList)
{
    ScopedTemplateFolder templates(folder_.path());
    TForm_RSNEU dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    // Nothing is read at all.
    EXPECT_EQ(TLabelProductStore::Ready(), nullptr);
    EXPECT_FALSE(dlg.pnl_Etiketten->isVisible());
    EXPECT_EQ(dlg.size(), QSize(671, 536));
    EXPECT_EQ(dlg.btn_ok->geometry().left(), 460);
    EXPECT_EQ(dlg.btn_ok->geometry().bottom(), 521);
    EXPECT_EQ(dlg.LabelProducts(), nullptr);
}

TEST_F(LabelProductsAbsent, MissingFolderHidesTheList)
{
    ScopedTemplateFolder templates(folder_.filePath(QStringLiteral("gibt-es-nicht")));
    TForm_RSNEU dlg;
    EXPECT_FALSE(dlg.pnl_Etiketten->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.size(), QSize(671, 536));
}

TEST_F(LabelProductsAbsent, TemplatesWithoutUsableProductsHideTheListAgain)
{
    // Template files whose templates are all refused: the room made for the
    // list is given back once that is known.
    QFile file(folder_.filePath(QStringLiteral("round-templates.xml")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<Glabels-templates>\n"
               "<Template brand=\"Rund\" part=\"1\" size=\"Other\" width=\"210mm\" height=\"297mm\">\n"
               "  <Label-round id=\"0\" radius=\"20mm\"><Layout nx=\"4\" ny=\"6\" x0=\"5mm\" "
               "y0=\"5mm\" dx=\"50mm\" dy=\"48mm\"/></Label-round>\n"
               "</Template>\n</Glabels-templates>\n");
    file.close();
    ASSERT_TRUE(ReadLabelProducts(folder_.path()).Products.isEmpty());
    ScopedTemplateFolder templates(folder_.path());
    TForm_RSNEU dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    // (Whether the reading is over before the dialog is built is up to the
    // worker thread.)
    EXPECT_TRUE(waitFor([&] { return TLabelProductStore::Ready() && !dlg.pnl_Etiketten->isVisible(); }));
    EXPECT_EQ(dlg.size(), QSize(671, 536));
    EXPECT_EQ(dlg.btn_ok->geometry().left(), 460);
    EXPECT_EQ(dlg.btn_ok->geometry().bottom(), 521);
}
} // namespace
