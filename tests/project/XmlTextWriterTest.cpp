#include "project/XmlTextWriter.h"

#include "app/framework/Scoped.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Builds a document with a fresh writer and gives back the bytes that reached the file.
std::string WrittenDocument(const std::function<void(XmlTextWriter&)>& build) {
    qvltest::TestFolder folder;
    std::string path = folder / "disc.xml";
    std::string bytes;
    {
        ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(file.IsValid());
        XmlTextWriter writer;
        EXPECT_TRUE(writer.Reset());
        writer.BeginDocument();
        build(writer);
        EXPECT_TRUE(writer.Flush(file.Get()));
    }
    return qvltest::ReadFile(path);
}

const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

} // namespace

// The project file's layout, escaping and UTF-8 are compared byte for byte in ProjectFileTest;
// its values hold no tab and its texts no quote or angle bracket.
TEST(XmlTextWriter, TextKeepsTabsAndLineBreaksWhichAttributesWriteAsReferences) {
    std::string written = WrittenDocument([](XmlTextWriter& writer) {
        XmlElementWriter track(writer, "track_data", false);
        track.AddAttribute("title", "first\r\nsecond\nthird\tfourth");
        track.AppendText("C:\\<1> \"q\"\ta\r\nb");
    });
    EXPECT_EQ(written, std::string(kDeclaration) +
                           "<track_data title=\"first&#13;&#10;second&#10;third&#9;fourth\">"
                           "C:\\&lt;1&gt; &quot;q&quot;\ta\r\nb</track_data>\n");
}

TEST(XmlTextWriter, FlushReportsAFailedWrite) {
    XmlTextWriter writer;
    writer.BeginDocument();
    EXPECT_FALSE(writer.Flush(INVALID_HANDLE_VALUE));
}
