#pragma once
// TMUVComboFarbFav: the user's favourite colours as a drop-down list. Each
// row shows a colour square, its red, green and blue values and its name.
// The favourites live in a file of 40-byte records (see colour_favourites.h).

#include "canvas/tcolor.h"
#include "controls/colour_favourites.h"

#include <QComboBox>

class TMUVComboFarbFav : public QComboBox
{
    Q_OBJECT
  public:
    explicit TMUVComboFarbFav(QWidget *parent = nullptr);

    QString FavoritesFile() const { return file_; }
    void SetFavoritesFile(const QString &path) { file_ = path; }

    // Reads the file (if it exists) into a fresh list.
    void LoadFavorites();
    // Rewrites the file when the list holds favourites. A file that was there
    // but could not be read is left alone, so its entries are not lost.
    void SaveFavorites();

    // Nothing is added when a favourite with the same red, green and blue
    // exists; the name is cut to 32 characters.
    void AddFavorite(canvas::TColor colour, int r, const QString &name, int b, int g);
    int FindFavorite(int r, int g, int b) const { return favs_.Find(r, g, b); }
    void DeleteFavorite(int index);
    void RenameFavorite(int index, const QString &name);
    QString FavoriteName(int index) const { return favs_.Name(index); }
    const TColorFavorites &Favorites() const { return favs_; }
    int FavoriteCount() const { return favs_.Count(); }

    int DroppedWidth() const { return droppedWidth_; }
    void SetDroppedWidth(int px);
    canvas::TColor ColorHighLightFrame() const { return highLightFrame_; }
    void SetColorHighLightFrame(canvas::TColor c);
    bool AllwaysBorder() const { return allwaysBorder_; }
    void SetAllwaysBorder(bool on);
    bool ChooseTextBold() const { return chooseTextBold_; }
    void SetChooseTextBold(bool on);
    QString NoChooseText() const { return noChooseText_; }
    void SetNoChooseText(const QString &t);
    bool Hovered() const { return hover_; }

    // Draws one favourite as a row (list and edit area share it).
    void PaintFavorite(QPainter &p, const QRect &r, int index, bool highlighted, bool bold) const;

    static constexpr int kItemHeight = 16;
    static constexpr canvas::TColor kSelectedBackground = 0xE6D8CC;

    void showPopup() override;

  signals:
    void OnSelectFavoriteColor(canvas::TColor colour);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

  private:
    void SyncItems();

    TColorFavorites favs_;
    QString file_;
    bool fileUnreadable_ = false;
    int droppedWidth_ = 200;
    canvas::TColor highLightFrame_ = 0xFF0000;
    bool allwaysBorder_ = true;
    bool chooseTextBold_ = false;
    QString noChooseText_;
    bool hover_ = false;
};
