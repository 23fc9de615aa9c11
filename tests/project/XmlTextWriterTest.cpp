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

TEST(XmlTextWriter, ProjectShapedDocumentIsIndentedByFourBlanksPerLevel) {
    std::string written = WrittenDocument([](XmlTextWriter& writer) {
        XmlElementWriter root(writer, "quaverlane_project", true);
        root.AddAttribute("disc_count", "2");
        root.AddAttribute("first_run", 0);
        root.CloseStartTag();
        {
            XmlElementWriter options(writer, "options", true);
            options.AddAttribute("codec", "mp3");
            options.AddAttribute("Window_X", -8);
            options.CloseStartTag();
            {
                XmlElementWriter folder(writer, "output_folder", false);
                folder.AddAttribute("path", "C:\\Music");
            }
            XmlElementWriter codecParam(writer, "codec_param", true);
            codecParam.CloseStartTag();
            XmlElementWriter mp3(writer, "mp3", false);
            mp3.AddAttribute("bitrate", 4294967295u);
            mp3.End();
            codecParam.End();
        }
        XmlElementWriter disc(writer, "disc_data", true);
        disc.AddAttribute("id", 0);
        disc.CloseStartTag();
        {
            XmlElementWriter track(writer, "track_data", false);
            track.AddAttribute("id", 0);
            track.AddAttribute("title", "One");
            track.AppendText("C:\\Music\\Mix\\01 One.mp3");
            track.CloseStartTag();
        }
        {
            XmlElementWriter track(writer, "track_data", false);
            track.AddAttribute("id", 1);
            track.CloseStartTag();
        }
        disc.End();
        XmlElementWriter emptyDisc(writer, "disc_data", true);
        emptyDisc.AddAttribute("id", 1);
    });
    EXPECT_EQ(written,
              std::string(kDeclaration) +
                  "<quaverlane_project disc_count=\"2\" first_run=\"0\">\n"
                  "    <options codec=\"mp3\" Window_X=\"-8\">\n"
                  "        <output_folder path=\"C:\\Music\"/>\n"
                  "        <codec_param>\n"
                  "            <mp3 bitrate=\"4294967295\"/>\n"
                  "        </codec_param>\n"
                  "    </options>\n"
                  "    <disc_data id=\"0\">\n"
                  "        <track_data id=\"0\" title=\"One\">C:\\Music\\Mix\\01 One.mp3</track_data>\n"
                  "        <track_data id=\"1\"/>\n"
                  "    </disc_data>\n"
                  "    <disc_data id=\"1\">\n"
                  "    </disc_data>\n"
                  "</quaverlane_project>\n");
}

TEST(XmlTextWriter, AttributesKeepTheirOrderAndEmptyValuesAreWritten) {
    std::string written = WrittenDocument([](XmlTextWriter& writer) {
        XmlElementWriter track(writer, "track_data", false);
        track.AddAttribute("title", "");
        track.AddAttribute("artist", "B");
        track.AddAttribute("album", "A");
    });
    EXPECT_EQ(written, std::string(kDeclaration) + "<track_data title=\"\" artist=\"B\" album=\"A\"/>\n");
}

TEST(XmlTextWriter, FiveCharactersAreEscapedInAttributesAndTextAndNothingElse) {
    std::string written = WrittenDocument([](XmlTextWriter& writer) {
        XmlElementWriter track(writer, "track_data", false);
        track.AddAttribute("title", "R&B <live> \"x\" 'y' %d;=/");
        track.AppendText("C:\\A&B\\<1> \"q\" 'a'.mp3");
    });
    EXPECT_EQ(written, std::string(kDeclaration) +
                           "<track_data title=\"R&amp;B &lt;live&gt; &quot;x&quot; &apos;y&apos; %d;=/\">"
                           "C:\\A&amp;B\\&lt;1&gt; &quot;q&quot; &apos;a&apos;.mp3</track_data>\n");
}

TEST(XmlTextWriter, TabsAndLineBreaksAreReferencesInAttributesOnly) {
    std::string written = WrittenDocument([](XmlTextWriter& writer) {
        XmlElementWriter track(writer, "track_data", false);
        track.AddAttribute("title", "first\r\nsecond\nthird\tfourth");
        track.AppendText("a\tb\r\nc");
    });
    EXPECT_EQ(written,
              std::string(kDeclaration) +
                  "<track_data title=\"first&#13;&#10;second&#10;third&#9;fourth\">a\tb\r\nc</track_data>\n");
}

TEST(XmlTextWriter, CodePageTextBecomesUtf8) {
    ASSERT_EQ(GetACP(), 1252u) << "the expected bytes below are those of Windows-1252";
    std::string written = WrittenDocument([](XmlTextWriter& writer) {
        XmlElementWriter track(writer, "track_data", false);
        track.AddAttribute("title", "Caf\xE9 \x80");
        track.AppendText("C:\\\xC0\xFF.mp3");
    });
    EXPECT_EQ(written,
              std::string(kDeclaration) +
                  "<track_data title=\"Caf\xC3\xA9 \xE2\x82\xAC\">C:\\\xC3\x80\xC3\xBF.mp3</track_data>\n");
}

TEST(XmlTextWriter, LongestFieldsAreWrittenWhole) {
    std::string title(259, 't');
    std::string path = "C:\\" + std::string(256, 'p');
    std::string written = WrittenDocument([&](XmlTextWriter& writer) {
        XmlElementWriter track(writer, "track_data", false);
        track.AddAttribute("title", title);
        track.AppendText(path);
    });
    EXPECT_EQ(written,
              std::string(kDeclaration) + "<track_data title=\"" + title + "\">" + path + "</track_data>\n");
}

TEST(XmlTextWriter, ResetIsRefusedWhileAnElementIsOpenAndFlushEmptiesTheBuffer) {
    qvltest::TestFolder folder;
    std::string path = folder / "disc.xml";
    ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.IsValid());
    XmlTextWriter writer;
    writer.BeginDocument();
    {
        XmlElementWriter root(writer, "quaverlane_project", true);
        EXPECT_FALSE(writer.Reset());
        root.End();
        EXPECT_TRUE(writer.Reset()) << "an ended element no longer counts as open";
    }
    { XmlElementWriter leaf(writer, "mp3", false); }
    EXPECT_TRUE(writer.Flush(file.Get()));
    EXPECT_TRUE(writer.Flush(file.Get()));
    file.Reset();
    EXPECT_EQ(qvltest::ReadFile(path), "<mp3/>\n")
        << "Reset emptied the declaration; a second Flush adds nothing";
}

TEST(XmlTextWriter, FlushReportsAFailedWrite) {
    XmlTextWriter writer;
    writer.BeginDocument();
    EXPECT_FALSE(writer.Flush(INVALID_HANDLE_VALUE));
}
