#pragma once
// TDPage: one printer page as lists of drawing elements in millimetres, apart
// from any widget. It reads the printer's page, places what the adders get
// (scale, shift, mirroring, grid snap), measures texts, answers hit tests and
// draws itself onto any QPainter through one const function; the target
// (screen at a zoom, bitmap, printer) is described by a TDrawTarget, so no
// drawing switches the page's own state.
//
// TDPaintbox is the widget that views a page; print previews, the layout
// dialog's hidden page and the command-line tool use a TDPage directly.

#include "canvas/elements.h"
#include "canvas/page_mapping.h"
#include "canvas/tcolor.h"

#include <QPageLayout>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QImage;
class QPainter;
class TPicture;

namespace platform
{
struct PaperInfo;
}

namespace canvas
{

enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

// The orientation a page of width × height mm is printed in: landscape when
// it is wider than high, else portrait. The one rule for the window, the
// print job and the command-line tool.
QPageLayout::Orientation OrientationFor(double widthMm, double heightMm);

// What a drawing goes to and what of the page it shows.
struct TDrawTarget {
    TPageMapping map;            // pixels per mm, zoom, origin and the page's placement
    const QRect *clip = nullptr; // pixels to draw; null: everything
    bool background = true;      // page 0 (the background layer) below the current page
    bool pageInfo = false;       // the printable-area overlay on top
    bool smoothPictures = false; // bitmaps stretched smoothly
    TJPEGScale jpegScale = TJPEGScale::jsFullSize;
    // The view's own paint: the pixel bounds of the elements are kept for
    // hit tests and the marking, and the marked elements' union is returned.
    bool recordBounds = false;
    QRect *markedUnion = nullptr;
};

class TDPage
{
  public:
    TDPage();
    ~TDPage();
    TDPage(const TDPage &) = delete;
    TDPage &operator=(const TDPage &) = delete;

    // --- Printer page ---------------------------------------------------
    // Refreshes the printer list once and reads the metrics.
    void RefreshPrinter();
    // Reads the metrics again (refreshing a non-empty printer list first).
    void ReadPrinterMetrics();
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
    const std::vector<platform::PaperInfo> &PaperList() const { return paperList_; }

    // --- Placement and grid snap -----------------------------------------
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
    double Rasterweite() const { return rasterweite_; }
    // False (and ignored) unless 1 <= v < page width.
    bool SetRasterweite(double v);
    bool RasterFang() const { return rasterFang_; }
    void SetRasterFang(bool on) { rasterFang_ = on; }
    double SnapToGrid(double v) const { return Mapping(1.0).SnapToGrid(v); }

    // --- Mappings ----------------------------------------------------------
    // The page on the screen at a zoom (origin at the paper's corner).
    TPageMapping Mapping(double zoom) const;
    // The page on the printer: printer resolution, zoom 1, origin at the
    // printable area's corner.
    TPageMapping PrinterMapping() const;
    TDrawTarget ScreenTarget(double zoom) const;
    TDrawTarget PrinterTarget() const;

    // --- Appearance kept with the page ----------------------------------
    TColor Blattfarbe() const { return blattfarbe_; }
    void SetBlattfarbe(TColor c) { blattfarbe_ = c; }
    bool Seite0Ausgabe() const { return seite0Ausgabe_; }
    void SetSeite0Ausgabe(bool on) { seite0Ausgabe_ = on; }
    bool PageInfosShown() const { return showPageInfos_; }
    void SetPageInfosShown(bool on) { showPageInfos_ = on; }

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
    // False (with a message) for a page that does not exist.
    bool SelectPage(int page);
    void ClearPage();
    int ElementCount() const { return int(pages_[size_t(currentPage_)].size()); }

    int AddText(const QString &text, double x, double y);
    int AddLine(double x1, double y1, double x2, double y2);
    int AddRectangle(double x, double y, double width, double height);
    // The page draws its own copy of the picture; -1 when there is nothing
    // to draw.
    int AddPicture(std::int32_t copyMode, const TPicture *picture, double x, double y, double width,
                   double height);

    void GetElementInfo(int number, ElementInfo &info) const { GetElementInfo(currentPage_, number, info); }
    // The same for an element of page 0 or 1, whichever page is current.
    void GetElementInfo(int page, int number, ElementInfo &info) const;
    // Pixel rectangle in which the element was last drawn by its view.
    QRect ElementBounds(int number) const;
    TDElement *ElementAt(int number) const;
    const std::vector<std::unique_ptr<TDElement>> &Elements(int page) const { return pages_[size_t(page)]; }
    void SetElementMarked(int number, bool marked);
    void UnmarkAll();
    // Places every element of the current page again.
    void Relayout();

    // Called after every change of an element list (adders, ClearPage, copies).
    std::function<void()> OnElementListChange;

    // --- Overlay and mark frame -------------------------------------------
    // The 19 elements of the printable-area overlay (texts 0-12, lines 13-14,
    // circles 15-18).
    const TDElement *PageInfoElement(int i) const;
    const std::vector<std::unique_ptr<TDElement>> &PageInfoElements() const { return pageInfo_; }
    void SetMarkRect(bool on, double x, double y, double width, double height);
    bool MarkRectOn() const { return markRectOn_; }
    const TDTRect &MarkFrame() const { return markFrame_; }

    // --- Hit tests and changes of single elements (dpage_edit.cpp) ------
    // Topmost element of the current page at the point given in the adders'
    // coordinates, -1 when none.
    // Texts are hit inside the pixel box their view drew them in last; view
    // is that view's mapping.
    int ElementAtPoint(double xMm, double yMm, const TPageMapping &view) const;
    // Topmost element at a placed paper point (mm).
    int ElementAtPlaced(double xMm, double yMm, const TPageMapping &view) const;
    // Appends a copy of the element; its number, -1 when there is none.
    int CopyElement(int number);
    // Moves the element by a placed offset in mm.
    void ShiftElement(TDElement &e, double dxMm, double dyMm);
    // Where the element lies in the adders' coordinates: first and second
    // point (see TDPaintbox::OnElementGeaendert).
    void ElementCorners(const TDElement &e, double &x, double &y, double &x2, double &y2) const;
    // Scales the element about the corner opposite the grabbed corner
    // (2 top-left, 3 top-right, 4 bottom-left, 5 bottom-right).
    void ResizeElement(TDElement &e, int corner, double rw, double rh, bool freeProportion);

    // --- Drawing (dpage_draw.cpp) -------------------------------------------
    // Draws page 0 (when the target asks) and the current page, then the
    // overlay (when asked), onto the painter.
    void Draw(QPainter &p, const TDrawTarget &target) const;
    // Draws one element list or element with the target's mapping.
    void DrawList(QPainter &p, const std::vector<std::unique_ptr<TDElement>> &list,
                  const TDrawTarget &t) const;
    void DrawMarkRect(QPainter &p, const TDrawTarget &t) const;

    // Prints page (1 ... PageCount) as one printer document with the title
    // (printer resolution, origin at the printable area, photos at full
    // size). False when nothing was printed.
    bool PrintPage(int page, const QString &title, bool smoothPictures = false);
    // Page 0 (if shown) and the current page into a 24-bit bitmap of the
    // page's size at the zoom (clamped to 0.1 ... 10), on the background.
    void RenderToBitmap(QImage &bitmap, TColor background, double zoom) const;
    // The same for a target of one's own (zoom, layers, picture options).
    void RenderToBitmap(QImage &bitmap, TColor background, TDrawTarget target) const;

  private:
    void ReadMetrics(bool refreshList);
    void ApplyMetricsToPage();
    void BuildPageInfo();
    void FillPageInfo(bool printerListEmpty, const QString &printerName);
    void PlaceText(TDTText &t) const;
    void MeasureText(TDTText &t) const;
    void PlaceLine(TDTLine &l) const;
    void PlaceRect(TDTRect &r) const;
    void PlacePicture(TDTPicture &p) const;
    void PlaceElement(TDElement &e) const;
    int Append(std::unique_ptr<TDElement> e);
    void Changed() const;

    void DrawElement(QPainter &p, const TDElement &e, const TDrawTarget &t) const;
    void DrawText(QPainter &p, const TDTText &e, const TDrawTarget &t) const;
    void DrawLine(QPainter &p, const TDTLine &l, const TDrawTarget &t) const;
    void DrawPieces(QPainter &p, const TPageMapping &m, double x1, double y1, double x2, double y2, int style,
                    double width, TColor color, bool mirrorSwap) const;
    void DrawRect(QPainter &p, const TDTRect &r, const TDrawTarget &t) const;
    void DrawCircle(QPainter &p, const TDTCircle &c, const TDrawTarget &t) const;
    void DrawPicture(QPainter &p, const TDTPicture &pic, const TDrawTarget &t) const;

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
    std::vector<platform::PaperInfo> paperList_;

    double maszstab_ = 1.0;
    double offsetX_ = 0, offsetY_ = 0;
    bool xRechts_ = false, yUnten_ = false;
    double rasterweite_ = 5.0;
    bool rasterFang_ = false;

    TColor blattfarbe_ = clWhite;
    bool seite0Ausgabe_ = true;
    bool showPageInfos_ = false;

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
    TDTRect markFrame_;
    bool markRectOn_ = false;
};

} // namespace canvas
