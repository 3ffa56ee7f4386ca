#pragma once
// TDPaintbox: one printer page at its true size. Callers add texts, lines,
// rectangles and pictures in millimetres on the paper; the canvas draws them
// on the screen at a zoom, into a bitmap, or on the printer, always through
// the same drawing routine.

#include "canvas/elements.h"
#include "canvas/tcolor.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QPainter;
class TPicture;

namespace platform
{
struct PaperInfo;
}

namespace canvas
{

enum class TOutputMode : unsigned char { Screen = 0, Printer = 1 };
enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

class TDPaintbox : public QWidget
{
    Q_OBJECT

  public:
    explicit TDPaintbox(QWidget *parent = nullptr);
    ~TDPaintbox() override;

    // --- Printer page ---------------------------------------------------
    void RefreshPrinter();
    void ReadPrinterMetrics();
    // Name of the paper the current printer is set to, or "?".
    QString PaperName() const;

    int ScreenDpi() const { return screenDpi_; }
    int PrinterDpiX() const { return printerDpiX_; }
    int PrinterDpiY() const { return printerDpiY_; }
    int PhysWidthPx() const { return physWidthPx_; }
    int PhysHeightPx() const { return physHeightPx_; }
    int PhysOffsetXPx() const { return physOffsetXPx_; }
    int PhysOffsetYPx() const { return physOffsetYPx_; }
    int PrintableWidthPx() const { return printableWidthPx_; }
    int PrintableHeightPx() const { return printableHeightPx_; }
    int ColorBits() const { return colorBits_; }
    double PageWidthMm() const { return pageWidthMm_; }
    double PageHeightMm() const { return pageHeightMm_; }
    double PrintOffsetXMm() const { return printOffsetXMm_; }
    double PrintOffsetYMm() const { return printOffsetYMm_; }
    double PrintableWidthMm() const { return printableWidthMm_; }
    double PrintableHeightMm() const { return printableHeightMm_; }
    double PixelPerMmX() const { return pixelPerMmX_; }
    double PixelPerMmY() const { return pixelPerMmY_; }
    TOutputMode OutputMode() const { return outputMode_; }
    const std::vector<platform::PaperInfo> &PaperList() const { return paperList_; }

    // --- Zoom, placement, grid -------------------------------------------
    double ZoomFaktor() const { return zoom_; }
    void SetZoomFaktor(double z);
    double Maszstab() const { return maszstab_; }
    void SetMaszstab(double m);
    double OffsetX() const { return offsetX_; }
    void SetOffsetX(double v);
    double OffsetY() const { return offsetY_; }
    void SetOffsetY(double v);
    bool XRechts() const { return xRechts_; }
    void SetXRechts(bool on) { xRechts_ = on; }
    bool YUnten() const { return yUnten_; }
    void SetYUnten(bool on) { yUnten_ = on; }
    bool Raster() const { return raster_; }
    void SetRaster(bool on);
    double Rasterweite() const { return rasterweite_; }
    void SetRasterweite(double v);
    bool RasterFang() const { return rasterFang_; }
    void SetRasterFang(bool on) { rasterFang_ = on; }

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
    TColor Blattfarbe() const { return blattfarbe_; }
    void SetBlattfarbe(TColor c);
    TColor BlattFarbeRaender() const { return blattFarbeRaender_; }
    void SetBlattFarbeRaender(TColor c);
    TColor RasterFarbe() const { return rasterFarbe_; }
    void SetRasterFarbe(TColor c);
    bool Druckrand() const { return druckrand_; }
    void SetDruckrand(bool on);
    bool Seite0Ausgabe() const { return seite0Ausgabe_; }
    void SetSeite0Ausgabe(bool on) { seite0Ausgabe_ = on; }
    bool GrafikenWeich() const { return grafikenWeich_; }
    void SetGrafikenWeich(bool on) { grafikenWeich_ = on; }
    TJPEGScale JPEG_Skalierung() const { return jpegScale_; }
    void SetJPEG_Skalierung(TJPEGScale s) { jpegScale_ = s; }

    // --- Current style ---------------------------------------------------
    void SetTextStyle(const QString &fontName, TColor fontColor, int fontStyle, int alignment,
                      double heightMm, double angle);
    void SetLineStyle(int penStyle, TColor color, double widthMm);
    void SetFillStyle(int fillStyle, TColor color);
    void SetLineFactor(double factor);
    double LineFactor() const { return lineFactor_; }

    // --- Pages and elements ----------------------------------------------
    int PageCount() const { return 1; }
    int CurrentPage() const { return currentPage_; }
    void SelectPage(int page, bool redraw);
    void ClearPage();
    int ElementCount() const { return int(pages_[currentPage_].size()); }

    int AddText(const QString &text, double x, double y);
    int AddLine(double x1, double y1, double x2, double y2);
    int AddRectangle(double x, double y, double width, double height);
    // The canvas draws its own copy of the picture; -1 when there is nothing
    // to draw.
    int AddPicture(std::int32_t copyMode, const TPicture *picture, double x, double y, double width,
                   double height);

    void GetElementInfo(int number, ElementInfo &info) const;
    // Pixel rectangle in which the element was last drawn.
    QRect ElementBounds(int number) const;
    void SetElementMarked(int number, bool marked);
    void UnmarkAll();

    void Relayout();
    void Redraw();

    void ShowPageInfos(bool on);
    bool PageInfosShown() const { return showPageInfos_; }
    void SetMarkRect(bool on, double x, double y, double width, double height);
    bool MarkRectOn() const { return markRectOn_; }
    // The marked area of the last paint in millimetres; empty when nothing
    // is marked.
    QRectF MarkedAreaMm() const { return markedAreaMm_; }

    // --- Output ----------------------------------------------------------
    // Prints page (1 ... PageCount) as one printer document with the title.
    // False when nothing was printed.
    bool PrintPage(int page, const QString &title);
    // Draws page 0 and the current page into a 24-bit bitmap at the zoom.
    void RenderToBitmap(QImage &bitmap, TColor background, double zoom);

    // The clipboard format the canvas registers for its elements.
    static QString ClipboardFormatName();

    // The 19 elements of the printable-area overlay (texts 0-12, lines 13-14,
    // circles 15-18).
    const TDElement *PageInfoElement(int i) const;

  signals:
    void OnZoomChanged();
    void OnElementListChange();

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void ResizeToPage();
    void BuildPageInfo();
    void FillPageInfo(bool printerListEmpty, const QString &printerName);
    void ApplyMetricsToPage();

    double PlaceX(double x) const;
    double PlaceY(double y) const;
    void PlaceText(TDTText &t);
    void MeasureText(TDTText &t);
    void PlaceLine(TDTLine &l);
    void PlaceRect(TDTRect &r);
    void PlacePicture(TDTPicture &p);
    void PlaceElement(TDElement &e);

    // The drawing routine shared by screen, bitmap and printer.
    void DrawLayers(QPainter &p, const QRect *clip, bool marking);
    void DrawElements(QPainter &p, const std::vector<std::unique_ptr<TDElement>> &list, const QRect *clip,
                      bool marking);
    void DrawElement(QPainter &p, TDElement &e, const QRect *clip, bool marking);
    void DrawText(QPainter &p, TDTText &t, const QRect *clip);
    void DrawLine(QPainter &p, TDTLine &l, const QRect *clip, bool mirrorSwap);
    void DrawPieces(QPainter &p, double x1, double y1, double x2, double y2, int style, double width,
                    TColor color, bool mirrorSwap);
    void DrawRect(QPainter &p, TDTRect &r, const QRect *clip);
    void DrawCircle(QPainter &p, TDTCircle &c, const QRect *clip);
    void DrawPicture(QPainter &p, TDTPicture &pic, const QRect *clip);
    void DrawMarkingFrame(QPainter &p, const QRect &r);

    TDElement *ElementAt(int number) const;

    // Printer page.
    int screenDpi_ = 96;
    int printerDpiX_ = 300, printerDpiY_ = 300;
    int physWidthPx_ = 2480, physHeightPx_ = 3508;
    int physOffsetXPx_ = 60, physOffsetYPx_ = 60;
    int printableWidthPx_ = 2360, printableHeightPx_ = 3270;
    int colorBits_ = 8;
    double pageWidthMm_ = 210.0, pageHeightMm_ = 297.0;
    double printOffsetXMm_ = 0, printOffsetYMm_ = 0;
    double printableWidthMm_ = 0, printableHeightMm_ = 0;
    double pixelPerMmX_ = 3.78, pixelPerMmY_ = 3.78;
    TOutputMode outputMode_ = TOutputMode::Screen;
    std::vector<platform::PaperInfo> paperList_;

    double zoom_ = 0.5;
    double maszstab_ = 1.0;
    double offsetX_ = 0, offsetY_ = 0;
    bool xRechts_ = false, yUnten_ = false;
    bool raster_ = false;
    double rasterweite_ = 5.0;
    bool rasterFang_ = false;

    TColor blattfarbe_ = clWhite;
    TColor blattFarbeRaender_ = RGBToTColor(248, 248, 248);
    TColor rasterFarbe_ = RGBToTColor(248, 248, 248);
    bool druckrand_ = true;
    bool seite0Ausgabe_ = true;
    bool grafikenWeich_ = false;
    TJPEGScale jpegScale_ = TJPEGScale::jsFullSize;

    // Current style.
    QString fontName_ = QStringLiteral("Arial");
    TColor fontColor_ = clBlack;
    int fontStyle_ = 0;
    int alignment_ = 0;
    double textHeight_ = 4.23;
    double angle_ = 0;
    int penStyle_ = 0;
    TColor penColor_ = clBlack;
    double penWidth_ = 0.1;
    int fillStyle_ = 0;
    TColor fillColor_ = clSilver;
    double lineFactor_ = 1.1;

    std::array<std::vector<std::unique_ptr<TDElement>>, 2> pages_;
    int currentPage_ = 1;
    std::vector<std::unique_ptr<TDElement>> pageInfo_;
    bool showPageInfos_ = false;
    TDTRect markFrame_;
    bool markRectOn_ = false;
    QRect markUnion_;
    QRectF markedAreaMm_;
    bool printing_ = false;

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
    void SetBearbeitbar(bool on);
    // Element the edit mode works on, -1 when none.
    int CurrentElement() const { return currentElement_; }

    // Last pointer position in mm, as reported by OnXYChange.
    QPointF PointerMm() const { return pointerMm_; }

    // Number of the topmost element of the current page at the page point
    // (mm, before scale, offsets and mirroring), -1 when none.
    int ElementAtPoint(double xMm, double yMm) const;

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
    QRect MarkingRect() const;
    TGriff PartAt(QPoint pt) const;
    void EditPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pt);
    void EditMove(QPoint pt);
    void EditRelease(Qt::KeyboardModifiers modifiers);
    QRect DraggedRect(QPoint pt) const;
    int CopyElement(int number);
    void ShiftElement(TDElement &e, double dxMm, double dyMm);
    void MoveElement(int number, double dxMm, double dyMm);
    void ResizeElement(TDElement &e, TGriff corner, double rw, double rh, bool freeProportion);
    double InputX(double placedX) const;
    double InputY(double placedY) const;

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
