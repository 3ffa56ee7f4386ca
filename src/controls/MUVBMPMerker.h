#pragma once
// TMUVBMPMerker: keeps a picture for a window that needs it later (the
// background of the hint window, of buttons); owns its copy.

#include <QImage>
#include <QObject>

class TMUVBMPMerker : public QObject
{
    Q_OBJECT
  public:
    explicit TMUVBMPMerker(QObject *parent = nullptr) : QObject(parent) {}

    const QImage &Bitmap() const { return bitmap_; }
    // Stores a copy; later changes of the caller's image do not reach it.
    void SetBitmap(const QImage &image) { bitmap_ = image.copy(); }
    // Whether the picture is drawn with its bottom-left colour left out.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    bool IsEmpty() const { return bitmap_.isNull(); }

  private:
    QImage bitmap_;
    bool transparent_ = false;
};
