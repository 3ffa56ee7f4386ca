#include "model/picture_internal.h"
#include "model/wmf_fonts.h"
#include "picture_testutil.h"

#include <QFile>
#include <gtest/gtest.h>

#include <thread>

namespace
{
struct Conversion {
    QByteArray svg;
    wmffonts::Counts counts;
};

// Converts each metafile once, on a thread of its own, which starts without
// faces.
std::vector<Conversion> convertOnNewThread(const std::vector<TBytes> &metafiles)
{
    std::vector<Conversion> result;
    std::thread([&] {
        for (const TBytes &bytes : metafiles) {
            TMetafileSvg svg;
            if (!WmfToSvg(bytes, &svg))
                return;
            result.push_back({svg.svg, wmffonts::ThreadCounts()});
        }
    }).join();
    return result;
}
} // namespace

// A metafile's fonts are opened once per thread: the next conversion, also
// of a metafile naming a font never seen (which falls back to a known one),
// opens no face, and writes what the first one wrote; another thread opens
// its own faces and writes the same again.
TEST(WmfFonts, FacesAreOpenedOncePerThreadAndChangeNothing)
{
    QFile f(CorpusPath("wmf/poi_testException2.doc-2.wmf")); // Helvetica and Symbol texts
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray raw = f.readAll();
    const TBytes bytes = WrapPlainWmf(TBytes(raw.begin(), raw.end())); // no placeable header of its own
    ASSERT_EQ(DetectMetafile(bytes), TPicture::MetafileType::Wmf);
    QByteArray renamed = raw;
    ASSERT_GT(renamed.indexOf("Helvetica"), 0);
    renamed.replace("Helvetica", "Xelvetica");
    const TBytes unknownFont = WrapPlainWmf(TBytes(renamed.begin(), renamed.end()));

    const std::vector<Conversion> one = convertOnNewThread({bytes, bytes, unknownFont});
    ASSERT_EQ(one.size(), 3u);
    EXPECT_TRUE(one[0].svg.contains("font-family:Helvetica"));
    EXPECT_TRUE(one[0].svg.contains("font-family:Symbol"));
    EXPECT_GE(one[0].counts.faces, 2);
    EXPECT_EQ(one[0].counts.libwmfOpened, one[0].counts.faces);
    for (std::size_t i : {1u, 2u}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(one[i].counts.faces, one[0].counts.faces);
        EXPECT_EQ(one[i].counts.libwmfOpened, one[0].counts.libwmfOpened);
    }
    EXPECT_EQ(one[1].svg, one[0].svg);

    const std::vector<Conversion> other = convertOnNewThread({bytes});
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].counts.faces, one[0].counts.faces);
    EXPECT_EQ(other[0].svg, one[0].svg);
}
