#pragma once
// TDPage: one printer page as lists of drawing elements in millimetres, apart
// from any widget. It is made from a page setup (platform/page_setup.h) that
// its caller brings and never asks the printer itself; it places what the adders get
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
#include "platform/page_setup.h"

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

namespace canvas
{

// Line spacing of multi-line texts as a factor of the text height, where no
// setting says otherwise.
inline constexpr double kDefaultLineFactor = 1.1;

enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

using platform::OrientationFor;

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
    // The default page without a printer (platform::DefaultPageSetup()).
    TDPage();
    explicit TDPage(const platform::PageSetup &setup);
    ~TDPage();
    TDPage(const TDPage &) = delete;
    TDPage &operator=(const TDPage &) = delete;

    // --- Printer page ---------------------------------------------------
    // The paper the page lies on from now on; the elements keep their places.
    void SetPageSetup(const platform::PageSetup &setup);
    const platform::PageSetup &PageSetup() const { return setup_; }
    // Name of the paper the printer is set to, or "?".
    QString PaperName() const { return setup_.PaperName(); }
    QPageLayout::Orientation Orientation() const { return setup_.orientation; }

    int ScreenDpi() const { return setup_.screenDpi; }
    int PrinterDpiX() const { return setup_.metrics.dpiX; }
    int PrinterDpiY() const { return setup_.metrics.dpiY; }
    int PhysWidthPx() const { return setup_.metrics.physWidthPx; }
    int PhysHeightPx() const { return setup_.metrics.physHeightPx; }
    int PhysOffsetXPx() const { return setup_.metrics.physOffsetXPx; }
    int PhysOffsetYPx() const { return setup_.metrics.physOffsetYPx; }
    int PrintableWidthPx() const { return setup_.metrics.printableWidthPx; }
    int PrintableHeightPx() const { return setup_.metrics.printableHeightPx; }
    int ColorBits() const { return setup_.metrics.colorBits; }
    double PageWidthMm() const { return pageWidthMm_; }
    double PageHeightMm() const { return pageHeightMm_; }
    double PrintOffsetXMm() const { return printOffsetXMm_; }
    double PrintOffsetYMm() const { return printOffsetYMm_; }
    double PrintableWidthMm() const { return printableWidthMm_; }
    double PrintableHeightMm() const { return printableHeightMm_; }
    const std::vector<platform::PaperInfo> &PaperList() const { return setup_.papers; }

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
    // False for a page that does not exist, with the German reason in error.
    bool SelectPage(int page, QString *error = nullptr);
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

    // Page 0 (if shown) and the current page into a 24-bit bitmap of the
    // page's size at the zoom (clamped to 0.1 ... 10), on the background.
    void RenderToBitmap(QImage &bitmap, TColor background, double zoom) const;
    // The same for a target of one's own (zoom, layers, picture options).
    void RenderToBitmap(QImage &bitmap, TColor background, TDrawTarget target) const;

  private:
    void BuildPageInfo();
    void FillPageInfo();
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
    platform::PageSetup setup_;
    double pageWidthMm_ = 210.0, pageHeightMm_ = 297.0;
    double printOffsetXMm_ = 0, printOffsetYMm_ = 0;
    double printableWidthMm_ = 0, printableHeightMm_ = 0;

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
    double lineFactor_ = kDefaultLineFactor;

    std::array<std::vector<std::unique_ptr<TDElement>>, 2> pages_;
    int currentPage_ = 1;
    std::vector<std::unique_ptr<TDElement>> pageInfo_;
    TDTRect markFrame_;
    bool markRectOn_ = false;
};

} // namespace canvas
