// An SVG drawing as a picture file: its references filtered, then drawn.
// What the filter lets through must refer to nothing outside the drawing,
// and filtering again must change nothing.
#include "fuzz_support.h"

#include "model/picture_qtformats.h"
#include "model/svg_filter.h"

#include <QXmlStreamReader>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray filtered = SvgWithOwnReferencesOnly(bytes);
    if (!filtered.isEmpty()) {
        QXmlStreamReader xml(filtered);
        xml.setNamespaceProcessing(false);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            for (const QXmlStreamAttribute &a : xml.attributes()) {
                const QStringView v = a.value().trimmed();
                if ((a.qualifiedName() == u"href" || a.qualifiedName().endsWith(u":href")) &&
                    !v.startsWith(u'#') && !v.startsWith(u"data", Qt::CaseInsensitive))
                    __builtin_trap(); // a reference to the outside passed
            }
        }
        if (xml.hasError() || SvgWithOwnReferencesOnly(filtered) != filtered)
            __builtin_trap(); // the filter's output is no stable, well-formed drawing
    }
    // Drawn small: the fuzzer looks for faults, not for large images.
    QImage image;
    QString error;
    (void)DecodeOtherImage(bytes, 64, Qt::white, &image, &error);
    return 0;
}
