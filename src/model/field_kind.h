#pragma once
// What a field shows, and the one table that says what each kind means for
// the label file, the composition, the field editor and the text commands.
// A new kind is an enum value and a row in KindTraits (field_kind.cpp); the
// code that saves, composes, edits or formats fields asks the table and
// never compares kinds itself.

#include <cstdint>

// The numbers are the kind byte of the label file. A file may hold other
// numbers; such a field keeps its number, stores nothing after it and shows
// only its background and lines.
enum class TFieldKind : std::uint8_t { Empty = 0, Text = 1, Picture = 2 };

// What the label file holds after a field's kind byte.
enum class TFieldRecord : std::uint8_t {
    None,        // nothing
    TextValues,  // font, colour, height, style, alignment, angle, text
    PictureBlock // picture type and the picture's bytes
};

// What the composition makes of a visible field besides background and lines.
enum class TFieldLook : std::uint8_t {
    Nothing,
    Text,   // its text as a text element
    Picture // its picture, fitted into the field
};

// The page of the field editor a field opens on and is taken from.
enum class TFieldEditorPage : std::uint8_t { Text, Picture };

struct TFieldKindTraits {
    TFieldRecord record;
    TFieldLook look;
    TFieldEditorPage editorPage;
    // The text format commands (format copy and paste, text width fitting,
    // font heights following the column count) apply to it.
    bool formattedText;
};

const TFieldKindTraits &KindTraits(TFieldKind kind);

// The kind the editor gives a field it took from page.
TFieldKind KindOfEditorPage(TFieldEditorPage page);

// Whether the text format commands apply to a field of this kind.
inline bool IsTextKind(TFieldKind kind)
{
    return KindTraits(kind).formattedText;
}
