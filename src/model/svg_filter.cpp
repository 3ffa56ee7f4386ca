#include "model/svg_filter.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstring>

namespace
{

bool startsWith(const QByteArray &data, const char *magic, qsizetype n)
{
    return data.size() >= n && std::memcmp(data.constData(), magic, std::size_t(n)) == 0;
}

// A data: URI as the SVG renderer reads it: whatever follows the last
// "base64," is decoded and given to the image readers, which guess the format
// from the content.
bool harmlessDataUri(QStringView value)
{
    const qsizetype at = value.lastIndexOf(u"base64,");
    if (at < 0)
        return false;
    const QByteArray payload = QByteArray::fromBase64(value.mid(at + 7).toLatin1());
    return startsWith(payload, "\x89PNG\r\n\x1A\n", 8) || startsWith(payload, "\xFF\xD8\xFF", 3) ||
           startsWith(payload, "GIF87a", 6) || startsWith(payload, "GIF89a", 6) ||
           startsWith(payload, "BM", 2) ||
           (startsWith(payload, "RIFF", 4) && payload.size() >= 12 &&
            std::memcmp(payload.constData() + 8, "WEBP", 4) == 0);
}

bool ownReference(QStringView value)
{
    const QStringView v = value.trimmed();
    if (v.startsWith(u'#'))
        return true;
    return v.startsWith(u"data", Qt::CaseInsensitive) && harmlessDataUri(v);
}

} // namespace

QByteArray SvgWithOwnReferencesOnly(const QByteArray &svg)
{
    QXmlStreamReader in(svg);
    // Prefixed names are copied as they are written, declarations as plain
    // attributes: the output reads like the input.
    in.setNamespaceProcessing(false);
    QByteArray filtered;
    filtered.reserve(svg.size());
    QXmlStreamWriter out(&filtered);
    while (!in.atEnd()) {
        switch (in.readNext()) {
        case QXmlStreamReader::StartElement: {
            out.writeStartElement(in.qualifiedName().toString());
            for (const QXmlStreamAttribute &a : in.attributes()) {
                const QStringView name = a.qualifiedName();
                const bool reference = name == u"href" || name.endsWith(u":href");
                if (!reference || ownReference(a.value()))
                    out.writeAttribute(name.toString(), a.value().toString());
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            out.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (in.isCDATA())
                out.writeCDATA(in.text().toString());
            else
                out.writeCharacters(in.text().toString());
            break;
        default:
            // The declaration, the document type (its entities are expanded
            // by now), comments, processing instructions, unknown entities.
            break;
        }
    }
    if (in.hasError())
        return QByteArray();
    return filtered;
}
