#include "controls/MUVLabel.h"
#include "controls/MUVVertikalLabel.h"
#include "platform/shell_open.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace
{

// Records what the labels ask the desktop to open.
class OpenerCapture
{
  public:
    OpenerCapture()
    {
        previous_ = platform::SetShellOpener([this](const QUrl &url) {
            opened.push_back(url);
            return true;
        });
    }
    ~OpenerCapture() { platform::SetShellOpener(previous_); }
    std::vector<QUrl> opened;

  private:
    platform::ShellOpener previous_;
};

// A window with one label in it, and a spot outside the label.
struct Window {
    QWidget window;
    TMUVLabel *label = new TMUVLabel(&window);
    Window()
    {
        window.resize(300, 100);
        label->setGeometry(10, 10, 200, 20);
        window.show();
        QApplication::processEvents();
        // The mouse starts inside this window, away from the label.
        Away();
    }
    void Hover() { QTest::mouseMove(label, QPoint(50, 10)); }
    void Away() { QTest::mouseMove(&window, QPoint(250, 80)); }
};

// Pixels near c (antialiased text has few of exactly its colour).
int CountNear(const QImage &img, const QColor &c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            n += qAbs(p.red() - c.red()) + qAbs(p.green() - c.green()) + qAbs(p.blue() - c.blue()) < 90;
        }
    return n;
}

int CountColour(const QImage &img, const QColor &c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

} // namespace

TEST(MUVLabel, LongCaptionsEndInTheLongestPrefixThatFitsWithDots)
{
    TMUVLabel label;
    label.resize(90, 20);
    const QFontMetrics fm(label.font());
    const int avail = 90 - 12;
    const QString caption = QStringLiteral("Etiketten für Ordnerrücken");
    label.SetCaption(caption);
    const QString shown = label.DisplayedText();
    ASSERT_TRUE(shown.endsWith(QStringLiteral("...")));
    const QString prefix = shown.chopped(3);
    EXPECT_TRUE(caption.startsWith(prefix));
    EXPECT_LE(fm.horizontalAdvance(shown), avail);
    EXPECT_GT(fm.horizontalAdvance(caption.left(prefix.size() + 1) + QStringLiteral("...")), avail)
        << "one character more would not fit";

    // A glyph takes its width off the room.
    QPixmap glyph(30, 16);
    glyph.fill(Qt::red);
    label.SetGlyph(glyph);
    EXPECT_LT(label.DisplayedText().size(), shown.size());

    // Far too narrow: still two characters.
    label.SetGlyph(QPixmap());
    label.resize(14, 20);
    EXPECT_EQ(label.DisplayedText(), QStringLiteral("Et..."));

    // A caption that fits stays whole.
    label.resize(400, 20);
    EXPECT_EQ(label.DisplayedText(), caption);

    // Without a caption the grey NoChooseCaption stands in.
    label.SetCaption(QString());
    label.SetNoChooseCaption(QStringLiteral("(keine Auswahl)"));
    EXPECT_EQ(label.DisplayedText(), QStringLiteral("(keine Auswahl)"));
    label.SetFontColor(clBlack);
    EXPECT_GT(CountColour(label.grab().toImage(), QColor(0x80, 0x80, 0x80)), 5);
}

TEST(MUVLabel, FilePathsKeepTheirNameAndLoseMiddleFolders)
{
    TMUVLabel label;
    label.SetLabelTyp(ltfile);
    label.resize(200, 20);
    const QFontMetrics fm(label.font());
    const QString path = QStringLiteral("/home/anwender/Dokumente/Etiketten/Archiv/2026/Ordnerrücken.rsd");
    label.SetCaption(path);
    const QString shown = label.DisplayedText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/.../"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/Ordnerrücken.rsd"))) << shown.toStdString();
    EXPECT_LE(fm.horizontalAdvance(shown), 200 - 12);

    // The bold ellipsis at the right takes its room too.
    label.SetShowEllipses(true);
    QFont bold = label.font();
    bold.setBold(true);
    EXPECT_LE(fm.horizontalAdvance(label.DisplayedText()),
              200 - 12 - QFontMetrics(bold).horizontalAdvance(QChar(0x2026)));

    // Very narrow: only the end of the name remains.
    label.SetShowEllipses(false);
    label.resize(60, 20);
    EXPECT_FALSE(label.DisplayedText().contains(QStringLiteral("home")));
    EXPECT_LE(fm.horizontalAdvance(label.DisplayedText()), 60 - 12);

    EXPECT_EQ(muvtext::ShortenPath(QStringLiteral("/kurz"), fm, 500), QStringLiteral("/kurz"));
}

TEST(MUVLabel, HoverColoursFollowTheMouse)
{
    Window w;
    w.label->SetLabelTyp(lthoover);
    w.label->SetCaption(QStringLiteral("Neues Blatt"));
    w.label->SetColorHooverText(RGBToTColor(200, 0, 0));
    int entered = 0, left = 0;
    QObject::connect(w.label, &TMUVLabel::OnMouseEnter, [&] { ++entered; });
    QObject::connect(w.label, &TMUVLabel::OnMouseLeave, [&] { ++left; });

    const QColor silver(192, 192, 192);
    EXPECT_NE(w.label->grab().toImage().pixelColor(190, 2), silver);
    w.Hover();
    EXPECT_TRUE(w.label->Hovered());
    EXPECT_EQ(entered, 1);
    QImage img = w.label->grab().toImage();
    EXPECT_EQ(img.pixelColor(190, 2), silver);
    EXPECT_GT(CountNear(img, QColor(200, 0, 0)), 5) << "text in ColorHooverText";

    w.Away();
    EXPECT_FALSE(w.label->Hovered());
    EXPECT_EQ(left, 1);
    img = w.label->grab().toImage();
    EXPECT_NE(img.pixelColor(190, 2), silver);
    EXPECT_EQ(CountNear(img, QColor(200, 0, 0)), 0);

    // Other types keep their fill under the mouse; the text colour changes.
    w.label->SetLabelTyp(ltnormal);
    w.label->SetColor(RGBToTColor(0, 0, 160));
    w.Hover();
    img = w.label->grab().toImage();
    EXPECT_EQ(img.pixelColor(190, 2), QColor(0, 0, 160));
    EXPECT_GT(CountNear(img, QColor(200, 0, 0)), 5);
    w.Away();

    // A disabled label does not light up.
    w.label->SetLabelTyp(lthoover);
    w.label->setEnabled(false);
    w.Hover();
    EXPECT_FALSE(w.label->Hovered());
    EXPECT_NE(w.label->grab().toImage().pixelColor(190, 2), silver);
}

TEST(MUVLabel, LinksOpenThroughTheDesktopOtherTypesDoNot)
{
    OpenerCapture opener;
    Window w;
    int clicks = 0;
    QObject::connect(w.label, &TMUVLabel::OnClick, [&] { ++clicks; });

    w.label->SetCaption(QStringLiteral("Homepage"));
    w.label->SetLabelExecute(QStringLiteral("https://www.example.org/dorlix"));
    w.label->SetLabelTyp(lthoover);
    QTest::mouseClick(w.label, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(opener.opened.empty()) << "a hover label opens nothing";

    w.label->SetLabelTyp(lthyperlink);
    EXPECT_TRUE(w.label->font().underline());
    EXPECT_EQ(w.label->FontColor(), clBlue);
    w.Hover();
    EXPECT_EQ(w.label->cursor().shape(), Qt::PointingHandCursor);
    w.Away();
    EXPECT_FALSE(w.label->Hovered());
    EXPECT_NE(w.label->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(w.label, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QUrl(QStringLiteral("https://www.example.org/dorlix")));

    // From the keyboard.
    w.label->setFocus();
    QTest::keyClick(w.label, Qt::Key_Return);
    EXPECT_EQ(opener.opened.size(), 2u);

    // Pressed on the label but released beside it: no click.
    QTest::mousePress(w.label, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(w.label, Qt::LeftButton, {}, QPoint(20, 60));
    EXPECT_EQ(opener.opened.size(), 2u);

    // The default target is a mail address.
    EXPECT_TRUE(TMUVLabel().LabelExecute().startsWith(QStringLiteral("mailto:")));

    // A desktop that cannot open the link is no error of the program's.
    platform::SetShellOpener([](const QUrl &) { return false; });
    QTest::mouseClick(w.label, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 4);
}

TEST(MUVLabel, ShellTargetsBecomeAddresses)
{
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("mailto:info@example.org")).scheme(),
              QStringLiteral("mailto"));
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("www.example.org")),
              QUrl(QStringLiteral("http://www.example.org")));
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("/tmp/Etiketten.rsd")),
              QUrl::fromLocalFile(QStringLiteral("/tmp/Etiketten.rsd")));
    EXPECT_TRUE(platform::ShellTargetUrl(QStringLiteral("  ")).isEmpty());
    EXPECT_FALSE(platform::ShellOpen(QString()));
}

TEST(MUVLabel, GlowRaisedAndLoweredOutlineEveryTextPixel)
{
    // A bar ("I" in a sans font) shows the rule: its left neighbour faces
    // the light, its right neighbour the shadow.
    TMUVLabel label;
    label.resize(60, 40);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(24);
    label.SetFont(f);
    label.SetFontColor(clBlack);
    label.SetCaption(QStringLiteral("I"));
    label.SetColor(RGBToTColor(0, 0, 255));

    auto edges = [&](TMUVLabelTyp typ) {
        label.SetLabelTyp(typ);
        const QImage img = label.grab().toImage();
        const int y = img.height() / 2;
        int first = -1, last = -1;
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixelColor(x, y) == QColor(Qt::black)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        EXPECT_GT(first, 0);
        return std::pair<QColor, QColor>(img.pixelColor(first - 1, y), img.pixelColor(last + 1, y));
    };
    const QColor white(255, 255, 255), grey(128, 128, 128);
    auto raised = edges(ltraised);
    EXPECT_EQ(raised.first, white);
    EXPECT_EQ(raised.second, grey);
    auto lowered = edges(ltlowered);
    EXPECT_EQ(lowered.first, grey);
    EXPECT_EQ(lowered.second, white);
    auto glow = edges(ltglow);
    EXPECT_EQ(glow.first, QColor(255, 255, 192));
    EXPECT_EQ(glow.second, QColor(255, 255, 192));
    label.SetColorGlow(RGBToTColor(0, 255, 0));
    EXPECT_EQ(edges(ltglow).first, QColor(0, 255, 0));

    // Shadowed and printer labels draw no text.
    label.SetLabelTyp(ltshadowed);
    EXPECT_EQ(CountColour(label.grab().toImage(), QColor(Qt::black)), 0);
}

TEST(MUVLabel, CaptionChangesAreReportedWhileVisible)
{
    Window w;
    int changes = 0;
    QObject::connect(w.label, &TMUVLabel::OnChange, [&] { ++changes; });
    w.label->SetCaption(QStringLiteral("eins"));
    EXPECT_EQ(changes, 1);
    w.label->SetCaption(QStringLiteral("eins"));
    EXPECT_EQ(changes, 1) << "no change";
    w.label->hide();
    w.label->SetCaption(QStringLiteral("zwei"));
    EXPECT_EQ(changes, 1);
}

TEST(MUVLabel, LayoutPlacesTheText)
{
    TMUVLabel label;
    label.resize(200, 40);
    label.SetCaption(QStringLiteral("Text"));
    const QFontMetrics fm(label.font());
    const int tw = fm.horizontalAdvance(QStringLiteral("Text")), th = fm.height();
    label.SetLabelLayout(lylefttop);
    EXPECT_EQ(label.TextRect().topLeft(), QPoint(4, 2));
    label.SetLabelLayout(lyrighttop);
    EXPECT_EQ(label.TextRect().right() + 1, 200 - 3);
    label.SetLabelLayout(lycenterbottom);
    EXPECT_EQ(label.TextRect().top(), 40 - th - 2);
    EXPECT_EQ(label.TextRect().left(), (200 - tw) / 2);
    label.SetLabelLayout(lycenterleft);
    label.SetCaptionMarginTop(3);
    EXPECT_EQ(label.TextRect().top(), (40 - th) / 2 + 3);
}

TEST(MUVVertikalLabel, TextRunsUpFromTheChosenEnd)
{
    TMUVVertikalLabel label;
    label.resize(24, 200);
    label.SetCaption(QStringLiteral("Spalte"));
    auto inkRows = [&] {
        const QImage img = label.grab().toImage();
        const QColor bg = img.pixelColor(0, 0);
        int top = img.height(), bottom = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y) != bg) {
                    top = qMin(top, y);
                    bottom = qMax(bottom, y);
                }
        return std::pair<int, int>(top, bottom);
    };
    const int len = QFontMetrics(label.font()).horizontalAdvance(QStringLiteral("Spalte"));
    auto [top, bottom] = inkRows();
    EXPECT_GT(bottom, 200 - 2 - 6) << "left alignment starts at the bottom";
    EXPECT_GT(top, 200 - 2 - len - 3);

    label.SetTextAlign(Qt::AlignRight);
    std::tie(top, bottom) = inkRows();
    EXPECT_LT(top, 2 + 6) << "right alignment ends at the top";
    EXPECT_LT(bottom, 2 + len + 3);

    label.SetTextAlign(Qt::AlignHCenter);
    std::tie(top, bottom) = inkRows();
    EXPECT_NEAR((top + bottom) / 2, 100, 4);

    // The letters are turned: the text is taller than wide.
    EXPECT_GT(bottom - top, 2 * QFontMetrics(label.font()).height());
}
