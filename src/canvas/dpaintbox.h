#pragma once
// TDPaintbox: the widget that views a page (TDPage) at its true size and a
// zoom. Callers add texts, lines, rectangles and pictures in millimetres on
// the paper; the page draws them on the screen and into a bitmap through its
// one const drawing function (printing and PDF files: document/output.h). The adders and page
// settings below forward to the viewed page.
//
// A paintbox owns a page of its own; SetPage lets it view another one (the
// document's), which must outlive the view or be unset first.

#include "canvas/dpage.h"
#include "canvas/tcolor.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QPainter;
class TPicture;

namespace canvas
{

class TDPaintbox : public QWidget
{
    Q_OBJECT

  public:
    explicit TDPaintbox(QWidget *parent = nullptr);
    ~TDPaintbox() override;

    // --- The viewed page ------------------------------------------------
    TDPage &Page() { return *page_; }
    const TDPage &Page() const { return *page_; }
    // Views another page (null: its own again) and follows its size.
    void SetPage(TDPage *page);
    // The mapping of the page on this view at the current zoom; the one used
    // for drawing, pointer positions and hit tests alike.
    TPageMapping Mapping() const { return page_->Mapping(zoom_); }
    // What paintEvent hands to the page's drawing.
    TDrawTarget ScreenTarget() const;

    // --- Printer page ---------------------------------------------------
    // The paper of the viewed page; the view follows its size.
    void SetPageSetup(const platform::PageSetup &setup);
    // Name of the paper the current printer is set to, or "?".
    QString PaperName() const;

    int ScreenDpi() const { return page_->ScreenDpi(); }
    int PrinterDpiX() const { return page_->PrinterDpiX(); }
    int PrinterDpiY() const { return page_->PrinterDpiY(); }
    int PhysWidthPx() const { return page_->PhysWidthPx(); }
    int PhysHeightPx() const { return page_->PhysHeightPx(); }
    int PhysOffsetXPx() const { return page_->PhysOffsetXPx(); }
    int PhysOffsetYPx() const { return page_->PhysOffsetYPx(); }
    int PrintableWidthPx() const { return page_->PrintableWidthPx(); }
    int PrintableHeightPx() const { return page_->PrintableHeightPx(); }
    int ColorBits() const { return page_->ColorBits(); }
    double PageWidthMm() const { return page_->PageWidthMm(); }
    double PageHeightMm() const { return page_->PageHeightMm(); }
    double PrintOffsetXMm() const { return page_->PrintOffsetXMm(); }
    double PrintOffsetYMm() const { return page_->PrintOffsetYMm(); }
    double PrintableWidthMm() const { return page_->PrintableWidthMm(); }
    double PrintableHeightMm() const { return page_->PrintableHeightMm(); }
    double PixelPerMmX() const { return Mapping().pixelPerMmX; }
    double PixelPerMmY() const { return Mapping().pixelPerMmY; }
    const std::vector<platform::PaperInfo> &PaperList() const { return page_->PaperList(); }

    // --- Zoom, placement, grid -------------------------------------------
    double ZoomFaktor() const { return zoom_; }
    void SetZoomFaktor(double z);
    double Maszstab() const { return page_->Maszstab(); }
    void SetMaszstab(double m);
    double OffsetX() const { return page_->OffsetX(); }
    void SetOffsetX(double v);
    double OffsetY() const { return page_->OffsetY(); }
    void SetOffsetY(double v);
    bool XRechts() const { return page_->XRechts(); }
    void SetXRechts(bool on) { page_->SetXRechts(on); }
    bool YUnten() const { return page_->YUnten(); }
    void SetYUnten(bool on) { page_->SetYUnten(on); }
    bool Raster() const { return raster_; }
    void SetRaster(bool on);
    double Rasterweite() const { return page_->Rasterweite(); }
    void SetRasterweite(double v);
    bool RasterFang() const { return page_->RasterFang(); }
    void SetRasterFang(bool on) { page_->SetRasterFang(on); }

    // --- Millimetre / pixel mapping (current zoom and output) ------------
    int PosToPixelX(double x) const;
    int PosToPixelY(double y) const;
    int LenToPixelX(double len) const;
    int LenToPixelY(double len) const;
    int LenToPixelTruncX(double len) const;
    int LenToPixelTruncY(double len) const;
    double PixelToMmX(double px) const;
    double PixelToMmY(double px) const;
    double PixelToMmNoSnapX(double px) const;
    double PixelToMmNoSnapY(double px) const;
    double SnapToGrid(double v) const;

    // --- Appearance ------------------------------------------------------
    TColor Blattfarbe() const { return page_->Blattfarbe(); }
    void SetBlattfarbe(TColor c);
    TColor BlattFarbeRaender() const { return blattFarbeRaender_; }
    void SetBlattFarbeRaender(TColor c);
    TColor RasterFarbe() const { return rasterFarbe_; }
    void SetRasterFarbe(TColor c);
    bool Druckrand() const { return druckrand_; }
    void SetDruckrand(bool on);
    bool Seite0Ausgabe() const { return page_->Seite0Ausgabe(); }
    void SetSeite0Ausgabe(bool on) { page_->SetSeite0Ausgabe(on); }
    bool GrafikenWeich() const { return grafikenWeich_; }
    void SetGrafikenWeich(bool on) { grafikenWeich_ = on; }
    TJPEGScale JPEG_Skalierung() const { return jpegScale_; }
    void SetJPEG_Skalierung(TJPEGScale s) { jpegScale_ = s; }

    // --- Current style ---------------------------------------------------
    void SetTextStyle(const QString &fontName, TColor fontColor, int fontStyle, int alignment,
                      double heightMm, double angle)
    {
        page_->SetTextStyle(fontName, fontColor, fontStyle, alignment, heightMm, angle);
    }
    void SetLineStyle(int penStyle, TColor color, double widthMm)
    {
        page_->SetLineStyle(penStyle, color, widthMm);
    }
    void SetFillStyle(int fillStyle, TColor color) { page_->SetFillStyle(fillStyle, color); }
    void SetLineFactor(double factor) { page_->SetLineFactor(factor); }
    double LineFactor() const { return page_->LineFactor(); }

    // --- Pages and elements ----------------------------------------------
    int PageCount() const { return page_->PageCount(); }
    int CurrentPage() const { return page_->CurrentPage(); }
    // False for a page that does not exist, with the German reason in error.
    bool SelectPage(int page, bool redraw, QString *error = nullptr);
    void ClearPage() { page_->ClearPage(); }
    int ElementCount() const { return page_->ElementCount(); }

    int AddText(const QString &text, double x, double y) { return page_->AddText(text, x, y); }
    int AddLine(double x1, double y1, double x2, double y2) { return page_->AddLine(x1, y1, x2, y2); }
    int AddRectangle(double x, double y, double width, double height)
    {
        return page_->AddRectangle(x, y, width, height);
    }
    // The page draws its own copy of the picture; -1 when there is nothing
    // to draw.
    int AddPicture(std::int32_t copyMode, const TPicture *picture, double x, double y, double width,
                   double height)
    {
        return page_->AddPicture(copyMode, picture, x, y, width, height);
    }

    void GetElementInfo(int number, ElementInfo &info) const { page_->GetElementInfo(number, info); }
    // Pixel rectangle in which the element was last drawn.
    QRect ElementBounds(int number) const { return page_->ElementBounds(number); }
    void SetElementMarked(int number, bool marked) { page_->SetElementMarked(number, marked); }
    void UnmarkAll() { page_->UnmarkAll(); }

    void Relayout();
    void Redraw();

    void ShowPageInfos(bool on);
    bool PageInfosShown() const { return page_->PageInfosShown(); }
    void SetMarkRect(bool on, double x, double y, double width, double height);
    bool MarkRectOn() const { return page_->MarkRectOn(); }
    // The marked area of the last paint in millimetres; empty when nothing
    // is marked.
    QRectF MarkedAreaMm() const { return markedAreaMm_; }

    // --- Output ----------------------------------------------------------
    // Draws page 0 and the current page into a 24-bit bitmap at the zoom,
    // with this view's picture options.
    void RenderToBitmap(QImage &bitmap, TColor background, double zoom) const;

    // The clipboard format the canvas registers for its elements.
    static QString ClipboardFormatName();

    // The 19 elements of the printable-area overlay (texts 0-12, lines 13-14,
    // circles 15-18).
    const TDElement *PageInfoElement(int i) const { return page_->PageInfoElement(i); }

  signals:
    void OnZoomChanged();
    void OnElementListChange();

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void ResizeToPage();
    void DrawMarkingFrame(QPainter &p, const QRect &r);
    void ViewPage(TDPage *page);

    std::unique_ptr<TDPage> ownPage_;
    TDPage *page_ = nullptr;

    double zoom_ = 0.5;
    bool raster_ = false;
    TColor blattFarbeRaender_ = RGBToTColor(248, 248, 248);
    TColor rasterFarbe_ = RGBToTColor(248, 248, 248);
    bool druckrand_ = true;
    bool grafikenWeich_ = false;
    TJPEGScale jpegScale_ = TJPEGScale::jsFullSize;
    QRectF markedAreaMm_;

    // === Pointing and editing (dpaintbox_interaction.cpp) ===================
  public:
    // Shape of the crosshair that follows the pointer.
    enum TAchsenkreuz : unsigned char {
        ta_alle, // both lines across the whole control
        ta_lire, // horizontal line only
        ta_obun, // vertical line only
        ta_liun, // from the left edge to the pointer, then down
        ta_liob, // from the left edge to the pointer, then up
        ta_reob, // from the top edge to the pointer, then right
        ta_reun  // from the bottom edge to the pointer, then right
    };

    bool AchsenCursor() const { return achsenCursor_; }
    void SetAchsenCursor(bool on);
    TAchsenkreuz AchsenCursorTyp() const { return achsenCursorTyp_; }
    void SetAchsenCursorTyp(TAchsenkreuz typ);

    // Edit mode: elements of the current page can be moved, copied (Ctrl)
    // and resized with the mouse until the next rebuild of the page.
    bool Bearbeitbar() const { return bearbeitbar_; }
    // The dotted frame of a drag in progress, in pixels; empty otherwise.
    QRect DragFrame() const { return dragRect_; }
    void SetBearbeitbar(bool on);
    // Element the edit mode works on, -1 when none.
    int CurrentElement() const { return currentElement_; }

    // Last pointer position in mm, as reported by OnXYChange.
    QPointF PointerMm() const { return pointerMm_; }

    // Number of the topmost element of the current page at the point given
    // in the adders' coordinates (before scale, offsets and mirroring, as
    // OnXYChange reports it), -1 when none.
    int ElementAtPoint(double xMm, double yMm) const { return page_->ElementAtPoint(xMm, yMm, Mapping()); }
    // The same for a pixel of this view.
    int ElementAtPixel(QPoint pt) const;

  signals:
    void OnXYChange(double x, double y);
    void ONElementMarked(int elementNr, int elementTyp);
    // Where a moved or resized element now lies, in the coordinates the
    // adders take: the first point (text anchor, line start, top-left corner
    // of rectangles and pictures) and the second (line end, bottom-right
    // corner; for texts the anchor plus the block size).
    void OnElementGeaendert(int elementNr, int elementTyp, double newX, double newY, double newX2,
                            double newY2);
    // The control's own mouse events, after the edit mode has seen them. A
    // left click is reported before the release that completes it.
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnClick();

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

  private:
    // Part of the marking under the pointer.
    enum TGriff : unsigned char {
        griffKeiner,
        griffKoerper,
        griffLinksOben,
        griffRechtsOben,
        griffLinksUnten,
        griffRechtsUnten,
        griffMitte
    };

    // Crosshair and drag rectangle, drawn last but one by paintEvent.
    void DrawInteraction(QPainter &p);
    QRegion CrosshairRegion(QPoint pos) const;
    void ForgetCrosshair();
    void UpdateDragRect(const QRect &newRect);
    void RescaleDrag(double ratio);
    QRect MarkingRect() const;
    TGriff PartAt(QPoint pt) const;
    void EditPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pt);
    void EditMove(QPoint pt);
    void EditRelease(Qt::KeyboardModifiers modifiers);
    QRect DraggedRect(QPoint pt) const;
    void MoveElement(int number, double dxMm, double dyMm);

    bool achsenCursor_ = false;
    TAchsenkreuz achsenCursorTyp_ = ta_alle;
    bool crossShown_ = false; // whether crossPos_ holds a position
    QPoint crossPos_{-1, -1};
    QPointF pointerMm_;
    bool bearbeitbar_ = false;
    int currentElement_ = -1;
    TDruckTyp currentKind_ = TDruckTyp::None;
    bool dragging_ = false;
    TGriff griff_ = griffKeiner;
    bool pressShift_ = false;
    QPoint pressPoint_;
    QPoint grabOffset_;
    QRect dragRect_;  // empty while nothing is dragged
    QRect dragStart_; // the element's bounds at the press
    bool clickArmed_ = false;
    // === end of pointing and editing =========================================
};

} // namespace canvas

using canvas::TDPaintbox;
