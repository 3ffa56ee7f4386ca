// The layout dialog's list of vendor label products ("Hersteller-Etiketten"):
// a search line over the products of the template database, read in the
// background, and the choice of one product, which fills the values the way
// a standard does.
#include "dialogs/rsneu.h"

#include "controls/MUVButton.h"
#include "controls/SpezialSpin.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>

#include <cmath>

namespace
{
constexpr int kNarrowWidth = 671;          // the dialog without the products
constexpr int kPanelWidth = 318;           // what they add to its right
constexpr int kPanelGap = 6;               // from the dialog's own controls
constexpr int kPanelMargin = 12;           // to the right edge, as on the left
constexpr int kProductRole = Qt::UserRole; // index into the product list

// Two lines for every product (the list lays out much faster when all rows
// are of one height): vendor and part; the grid, the label size and the note
// where there is one (cut off at the list's edge, in full beneath the list).
QString productText(const TLabelProduct &p)
{
    // The size the German way ("70,0×36,0 mm"); the command line keeps its
    // fixed point for scripts.
    const QLocale locale;
    const QString size = locale.toString(p.LabelWidth, 'f', 1) + QChar(0x00D7) +
                         locale.toString(p.LabelHeight, 'f', 1) + QStringLiteral(" mm");
    // The first kind names the labels ("3×8 Adressetiketten"), else they
    // are just labels.
    const QString kind = p.KindText().section(QStringLiteral(", "), 0, 0);
    QString text = p.Vendor + QLatin1Char(' ') + p.Part + QLatin1Char('\n') + p.GridText() +
                   QLatin1Char(' ') + (kind.isEmpty() ? QStringLiteral("Etiketten") : kind) +
                   QStringLiteral(", je ") + size;
    if (!p.Note.isEmpty())
        text += QStringLiteral(" \u2013 ") + p.Note;
    return text;
}

// The kind in German; the database's own words only for kinds without one.
QString productKind(const TLabelProduct &p)
{
    const QString kind = p.KindText();
    return kind.isEmpty() ? p.Description : kind;
}

QString productTip(const TLabelProduct &p)
{
    QStringList lines;
    if (const QString kind = productKind(p); !kind.isEmpty())
        lines << kind;
    if (!p.EquivalentOf.isEmpty())
        lines << QStringLiteral("entspricht %1 %2").arg(p.Vendor, p.EquivalentOf);
    if (!p.Note.isEmpty())
        lines << p.Note;
    return lines.join(QLatin1Char('\n'));
}
} // namespace

void TForm_RSNEU::CreateLabelProductPanel()
{
    pnl_Etiketten = new QWidget(this);
    pnl_Etiketten->setObjectName(QStringLiteral("pnl_Etiketten"));
    pnl_Etiketten->setGeometry(kNarrowWidth + kPanelGap, 0, kPanelWidth - kPanelGap - kPanelMargin, 484);
    pnl_Etiketten->hide();

    auto *heading = new QLabel(QStringLiteral("Hersteller-Etiketten"), pnl_Etiketten);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->move(0, 8);
    heading->adjustSize();
    lbl_EtikettenAnzahl = new QLabel(pnl_Etiketten);
    lbl_EtikettenAnzahl->setObjectName(QStringLiteral("lbl_EtikettenAnzahl"));
    lbl_EtikettenAnzahl->setGeometry(heading->width() + 8, 8, pnl_Etiketten->width() - heading->width() - 8,
                                     heading->height());
    lbl_EtikettenAnzahl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    edt_EtikettSuche = new QLineEdit(pnl_Etiketten);
    edt_EtikettSuche->setObjectName(QStringLiteral("edt_EtikettSuche"));
    edt_EtikettSuche->setGeometry(0, 28, pnl_Etiketten->width(), 24);
    edt_EtikettSuche->setPlaceholderText(QStringLiteral("Suchen: Hersteller, Nummer, Art oder Größe"));
    edt_EtikettSuche->setToolTip(QStringLiteral("Hersteller, Teilenummer (etwa 3475), Art (etwa Ordner, "
                                                "Adress) oder Etikettengröße in mm (etwa 70 x 36)"));
    edt_EtikettSuche->setClearButtonEnabled(true);
    edt_EtikettSuche->setEnabled(false); // until the products are there
    edt_EtikettSuche->installEventFilter(this);
    connect(edt_EtikettSuche, &QLineEdit::textChanged, this, &TForm_RSNEU::edt_EtikettSucheChange);

    lst_Etiketten = new QListWidget(pnl_Etiketten);
    lst_Etiketten->setObjectName(QStringLiteral("lst_Etiketten"));
    lst_Etiketten->setGeometry(0, 58, pnl_Etiketten->width(), 366);
    lst_Etiketten->setTextElideMode(Qt::ElideRight);
    lst_Etiketten->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lst_Etiketten->setSelectionMode(QAbstractItemView::SingleSelection);
    lst_Etiketten->setAlternatingRowColors(true);
    lst_Etiketten->setUniformItemSizes(true);
    QPalette pal = lst_Etiketten->palette();
    pal.setColor(QPalette::AlternateBase, QColor(0xF4, 0xF4, 0xF4)); // two-line entries told apart
    lst_Etiketten->setPalette(pal);
    // Only a deliberate choice applies a product: a click, the arrow keys or
    // Enter. Tabbing into the list makes its first entry current without
    // selecting it, and that must not overwrite what was typed.
    connect(lst_Etiketten, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> selected = lst_Etiketten->selectedItems();
        lst_EtikettenChange(selected.isEmpty() ? nullptr : selected.front());
    });
    lst_Etiketten->installEventFilter(this);

    lbl_EtikettHinweis = new QLabel(pnl_Etiketten);
    lbl_EtikettHinweis->setObjectName(QStringLiteral("lbl_EtikettHinweis"));
    lbl_EtikettHinweis->setGeometry(0, 428, pnl_Etiketten->width(), 56);
    lbl_EtikettHinweis->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl_EtikettHinweis->setWordWrap(true);

    if (!TLabelProductStore::HasDatabase())
        return;
    lbl_EtikettenAnzahl->setText(QStringLiteral("werden gelesen …"));
    ShowLabelProductPanel(true);
    TLabelProductStore::Request(this, [this](TLabelProductStore::TList list) { LabelProductsRead(list); });
}

void TForm_RSNEU::ShowLabelProductPanel(bool show)
{
    if (pnl_Etiketten->isVisibleTo(this) == show)
        return;
    const int delta = show ? kPanelWidth : -kPanelWidth;
    setFixedSize(width() + delta, height());
    // OK and cancel stay in the bottom right corner.
    for (QWidget *w : {static_cast<QWidget *>(btn_ok), static_cast<QWidget *>(btn_cancel)})
        w->move(w->x() + delta, w->y());
    pnl_Etiketten->setVisible(show);
}

void TForm_RSNEU::LabelProductsRead(TLabelProductStore::TList list)
{
    if (!list || list->Products.isEmpty()) {
        // Templates that give no product: the dialog as without the database.
        ShowLabelProductPanel(false);
        return;
    }
    products_ = std::move(list);
    fillingProducts_ = true;
    // All rows at once: one insertion for the view to lay out, not 1,400.
    QStringList texts;
    texts.reserve(products_->Products.size());
    for (const TLabelProduct &p : products_->Products)
        texts << productText(p);
    lst_Etiketten->setUpdatesEnabled(false);
    lst_Etiketten->addItems(texts);
    for (int row = 0; row < lst_Etiketten->count(); ++row) {
        QListWidgetItem *item = lst_Etiketten->item(row);
        item->setData(kProductRole, row);
        item->setToolTip(productTip(products_->Products[row]));
    }
    lst_Etiketten->setUpdatesEnabled(true);
    fillingProducts_ = false;
    edt_EtikettSuche->setEnabled(true);
    ShowLabelProductPanel(true);
    // Typed before the products were there: it filters them now.
    edt_EtikettSucheChange(edt_EtikettSuche->text());
}

const TLabelProductList *TForm_RSNEU::LabelProducts() const
{
    return products_.get();
}

const TLabelProduct *TForm_RSNEU::ChosenLabelProduct() const
{
    const QList<QListWidgetItem *> selected = lst_Etiketten->selectedItems();
    if (selected.isEmpty() || !products_)
        return nullptr;
    return &products_->Products[selected.front()->data(kProductRole).toInt()];
}

bool TForm_RSNEU::OffersLabelProduct(const TLabelProduct &product) const
{
    // A changed sheet keeps its page: only products of that paper fit it.
    if (!ChangeMode() || !shown_)
        return true;
    constexpr double kSamePaper = 0.5; // mm
    return std::abs(product.PageWidth - sheetPageWidth_) <= kSamePaper &&
           std::abs(product.PageHeight - sheetPageHeight_) <= kSamePaper;
}

void TForm_RSNEU::ChooseCurrentLabelProduct()
{
    QListWidgetItem *item = lst_Etiketten->currentItem();
    if (item && !item->isHidden() && products_)
        ApplyLabelProduct(products_->Products[item->data(kProductRole).toInt()]);
}

void TForm_RSNEU::edt_EtikettSucheChange(const QString &text)
{
    if (!products_)
        return;
    // The matching of "dorlix-cli products", so both find the same products.
    int shown = 0;
    lst_Etiketten->setUpdatesEnabled(false);
    for (int row = 0; row < lst_Etiketten->count(); ++row) {
        QListWidgetItem *item = lst_Etiketten->item(row);
        const TLabelProduct &product = products_->Products[item->data(kProductRole).toInt()];
        const bool match = OffersLabelProduct(product) && product.Matches(text);
        item->setHidden(!match);
        shown += match ? 1 : 0;
    }
    lst_Etiketten->setUpdatesEnabled(true);
    const QLocale locale;
    int all = 0;
    for (const TLabelProduct &p : products_->Products)
        all += OffersLabelProduct(p) ? 1 : 0;
    lbl_EtikettenAnzahl->setText(
        shown == all ? QStringLiteral("%1 Produkte").arg(locale.toString(all))
                     : QStringLiteral("%1 von %2").arg(locale.toString(shown), locale.toString(all)));
    if (QListWidgetItem *current = lst_Etiketten->currentItem(); current && !current->isHidden())
        lst_Etiketten->scrollToItem(current);
}

void TForm_RSNEU::lst_EtikettenChange(QListWidgetItem *item)
{
    ShowLabelProductNote();
    if (fillingProducts_ || !item || !products_)
        return;
    ApplyLabelProduct(products_->Products[item->data(kProductRole).toInt()]);
}

void TForm_RSNEU::ApplyLabelProduct(const TLabelProduct &product)
{
    // Chosen from outside the list: the list shows it as chosen, or nothing
    // when it is none of the list's.
    if (ChosenLabelProduct() != &product) {
        QListWidgetItem *found = nullptr;
        for (int row = 0; products_ && row < lst_Etiketten->count() && !found; ++row)
            if (&products_->Products[lst_Etiketten->item(row)->data(kProductRole).toInt()] == &product)
                found = lst_Etiketten->item(row);
        fillingProducts_ = true;
        if (found)
            lst_Etiketten->setCurrentItem(found);
        else
            lst_Etiketten->clearSelection();
        fillingProducts_ = false;
    }
    ApplyLayout(PresetFromLabelProduct(product, spin_TXTZH->ValueReal()), lst_Etiketten);
    ShowLabelProductNote();
}

void TForm_RSNEU::ShowLabelProductNote()
{
    const TLabelProduct *p = ChosenLabelProduct();
    if (!p) {
        if (ChangeMode() && shown_) {
            const QLocale locale;
            lbl_EtikettHinweis->setText(
                QStringLiteral("Beim Ändern bleibt die Seite des Bogens: nur Produkte für %1 × %2 mm.")
                    .arg(locale.toString(sheetPageWidth_, 'f', 1),
                         locale.toString(sheetPageHeight_, 'f', 1)));
        } else {
            lbl_EtikettHinweis->clear();
        }
        return;
    }
    QString text = p->Vendor + QLatin1Char(' ') + p->Part;
    if (const QString kind = productKind(*p); !kind.isEmpty())
        text += QStringLiteral(": ") + kind;
    if (!p->Note.isEmpty())
        text += QStringLiteral("\n") + p->Note;
    lbl_EtikettHinweis->setText(text);
}
