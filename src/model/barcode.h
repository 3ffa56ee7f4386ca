#pragma once
// Barcodes and QR codes in fields. A code is a picture: libzint lays out the
// symbol, and the program writes it as a vector EMF (filled rectangles and,
// under linear codes, the human-readable text). The settings that made the
// code travel inside that EMF as a comment record, so this program can edit
// the code again, while any other reader of label files simply draws the
// metafile. The label file format does not change.
//
// Encoding is a pure function of the settings and the field's size, so that
// output filling a sheet from a list can call it once per record.

#include "model/colors.h"
#include "model/picture.h"

#include <QSizeF>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

class TRS;
class TRSObject;

// The numbers are stored in label files: never change them.
enum class TBarcodeKind : std::uint8_t {
    Qr = 1,
    DataMatrix = 2,
    Code128 = 3,
    Ean13 = 4,
    Ean8 = 5,
    UpcA = 6,
    Code39 = 7,
    Itf14 = 8,
    Pdf417 = 9,
    Aztec = 10,
};

struct TBarcodeKindInfo {
    TBarcodeKind kind;
    const char *cliName;     // qr, datamatrix, code128, …
    const char *displayName; // "QR-Code", "Code 128", …
    bool linear;             // a row of bars, with its text underneath
};

// Every kind the program offers, in the order of the field editor's list.
std::span<const TBarcodeKindInfo> BarcodeKinds();
const TBarcodeKindInfo &BarcodeKindInfo(TBarcodeKind kind);
std::optional<TBarcodeKind> BarcodeKindFromCliName(const QString &name);

struct TBarcodeSettings {
    TBarcodeKind kind = TBarcodeKind::Qr;
    QString data;
    bool humanReadable = true; // the text under linear codes
    TColor colour = clBlack;   // a plain $00BBGGRR colour

    bool operator==(const TBarcodeSettings &) const = default;
};

// The most data a code holds, in UTF-8 bytes; no symbology takes more.
constexpr std::size_t kMaxBarcodeData = 8000;

// Whether the data hold placeholders ({Name}, {1}, {#} …, see
// text_template.h). Such a code takes its data from each record when labels
// are filled from a list; until then it shows a sample of its kind (zeros
// for the retail codes, the data as written for the others) with the data
// as written underneath.
bool BarcodeHasPlaceholder(const TBarcodeSettings &settings);

// Whether the code can hold its data, as EncodeBarcode would find, without
// drawing it. False with a German message in *error.
bool CheckBarcode(const TBarcodeSettings &settings, QString *error);

// The symbol as a vector EMF that carries its settings. box is the field
// (mm) the code will fill: linear codes take their bar height from its
// aspect, and in a box taller than wide they are turned a quarter
// anticlockwise, read from bottom to top like the spine of a binder. 2-D
// codes are square (PDF417 keeps its own shape) whatever the box. An empty
// box gives linear codes their usual proportions. Data the
// symbol cannot hold give an empty result and a German message in *error.
TBytes EncodeBarcode(const TBarcodeSettings &settings, QSizeF box, QString *error);

// The comment record's contents for the settings, and back. The parser
// refuses anything it did not write itself: another tag, a version it does
// not know, sizes beyond the data, bytes that are not UTF-8.
TBytes BarcodeComment(const TBarcodeSettings &settings);
std::optional<TBarcodeSettings> ParseBarcodeComment(const std::uint8_t *data, std::size_t size);
// The settings an EMF carries in its first comment of this kind; nothing
// for metafiles without one, or whose records do not hold together.
std::optional<TBarcodeSettings> BarcodeSettingsFromEmf(const TBytes &emf);

// The code a field shows, or null for text fields and other pictures.
// Valid while the field keeps its picture.
const TBarcodeSettings *FieldBarcode(const TRSObject &field);
// Makes the field a picture field showing the code, sized for its frame, and
// visible. On failure the field is unchanged and *error holds why.
bool SetFieldBarcode(TRSObject &field, const TBarcodeSettings &settings, QString *error);
// Lays every linear code of the sheet out again for its field after the
// fields changed size, so its bars take the field's new height. Returns how
// many codes changed.
int RefitLinearCodes(TRS &sheet);
