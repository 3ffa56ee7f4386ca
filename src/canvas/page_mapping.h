#pragma once
// The one mapping between the adders' millimetres, the placed millimetres on
// the paper and the pixels of a drawing target, in both directions. Drawing,
// the hit tests, the pointer position and the main window all go through it.
//
//   input (what the adders take) --Place--> placed mm on the paper
//   placed mm --PosToPixel--> device pixels (zoom, pixels per mm, origin)
//   and back: PixelToPos, then Input.

#include <QPoint>
#include <QPointF>

namespace canvas
{

struct TPageMapping {
    // The device: pixels per mm at zoom 1, the zoom, and the paper point that
    // lands on pixel 0 (the unprintable margin on a printer, else 0).
    double zoom = 1.0;
    double pixelPerMmX = 96 / 25.4, pixelPerMmY = 96 / 25.4;
    double originXMm = 0, originYMm = 0;
    // The placement of incoming coordinates.
    double maszstab = 1.0;
    double offsetX = 0, offsetY = 0;
    bool xRechts = false, yUnten = false;
    double pageWidthMm = 210.0, pageHeightMm = 297.0;
    // Snapping of incoming coordinates to the grid.
    bool rasterFang = false;
    double rasterweite = 5.0;

    // Placed mm to pixels (round half to even).
    int PosToPixelX(double x) const;
    int PosToPixelY(double y) const;
    int LenToPixelX(double len) const;
    int LenToPixelY(double len) const;
    int LenToPixelTruncX(double len) const;
    int LenToPixelTruncY(double len) const;
    QPoint PosToPixel(QPointF placed) const
    {
        return QPoint(PosToPixelX(placed.x()), PosToPixelY(placed.y()));
    }

    // Pixels back to placed mm, and pixel lengths to mm.
    double PixelToPosX(double px) const { return PixelToLenX(px) + originXMm; }
    double PixelToPosY(double py) const { return PixelToLenY(py) + originYMm; }
    double PixelToLenX(double px) const { return px / pixelPerMmX / zoom; }
    double PixelToLenY(double py) const { return py / pixelPerMmY / zoom; }

    // Input mm to placed mm and back (scale, shift, mirroring).
    double PlaceX(double x) const;
    double PlaceY(double y) const;
    double InputX(double placedX) const;
    double InputY(double placedY) const;
    QPointF Place(QPointF input) const { return QPointF(PlaceX(input.x()), PlaceY(input.y())); }
    QPointF Input(QPointF placed) const { return QPointF(InputX(placed.x()), InputY(placed.y())); }

    // The pixel as input mm, without grid snap.
    QPointF PixelToInput(QPointF px) const
    {
        return Input(QPointF(PixelToPosX(px.x()), PixelToPosY(px.y())));
    }

    double SnapToGrid(double v) const;
};

} // namespace canvas
