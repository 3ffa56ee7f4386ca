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

// Converts on a thread of its own, which starts without faces.
std::vector<Conversion> convertOnNewThread(const TBytes &bytes, int times)
{
    std::vector<Conversion> result;
    std::thread([&] {
        for (int i = 0; i < times; ++i) {
            TMetafileSvg svg;
            if (!WmfToSvg(bytes, &svg))
                return;
            result.push_back({svg.svg, wmffonts::ThreadCounts()});
        }
    }).join();
    return result;
}
} // namespace

// A metafile's fonts are chosen and opened once per thread: the next
// conversion asks libwmf for no font and opens no face, and it writes the
// same SVG; another thread opens its own faces and writes the same again.
TEST(WmfFonts, FacesAreOpenedOncePerThreadAndChangeNothing)
{
    QFile f(CorpusPath("wmf/poi_testException2.doc-2.wmf")); // Helvetica and Symbol texts
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray raw = f.readAll();
    const TBytes bytes = WrapPlainWmf(TBytes(raw.begin(), raw.end())); // no placeable header of its own
    ASSERT_EQ(DetectMetafile(bytes), TPicture::MetafileType::Wmf);

    const std::vector<Conversion> one = convertOnNewThread(bytes, 2);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_TRUE(one[0].svg.contains("font-family:Helvetica"));
    EXPECT_TRUE(one[0].svg.contains("font-family:Symbol"));
    EXPECT_GE(one[0].counts.faces, 2);
    EXPECT_GE(one[0].counts.choices, 2);
    EXPECT_EQ(one[1].counts.faces, one[0].counts.faces);
    EXPECT_EQ(one[1].counts.choices, one[0].counts.choices);
    EXPECT_EQ(one[1].svg, one[0].svg);

    const std::vector<Conversion> other = convertOnNewThread(bytes, 1);
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].counts.faces, one[0].counts.faces);
    EXPECT_EQ(other[0].svg, one[0].svg);
}
