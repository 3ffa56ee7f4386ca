#include "model/field_kind.h"

const TFieldKindTraits &KindTraits(TFieldKind kind)
{
    // An empty field keeps the text values it was given, so that it
    // becomes the same text field again when shown.
    static constexpr TFieldKindTraits kEmpty{TFieldRecord::TextValues, TFieldLook::Nothing,
                                             TFieldEditorPage::Text, false};
    static constexpr TFieldKindTraits kText{TFieldRecord::TextValues, TFieldLook::Text,
                                            TFieldEditorPage::Text, true};
    static constexpr TFieldKindTraits kPicture{TFieldRecord::PictureBlock, TFieldLook::Picture,
                                               TFieldEditorPage::Picture, false};
    static constexpr TFieldKindTraits kUnknown{TFieldRecord::None, TFieldLook::Nothing,
                                               TFieldEditorPage::Text, false};
    switch (kind) {
    case TFieldKind::Empty:
        return kEmpty;
    case TFieldKind::Text:
        return kText;
    case TFieldKind::Picture:
        return kPicture;
    }
    return kUnknown;
}

TFieldKind KindOfEditorPage(TFieldEditorPage page)
{
    return page == TFieldEditorPage::Picture ? TFieldKind::Picture : TFieldKind::Text;
}
