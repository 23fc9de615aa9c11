#include "project/XmlDomReader.h"

#include "app/framework/Scoped.h"
#include "project/XmlTextWriter.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class XmlDomReaderTest : public ::testing::Test {
protected:
    // A small project file as the program's own writer produces it.
    void WriteProject() {
        ScopedFileHandle file(CreateFileA(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.IsValid());
        XmlTextWriter writer;
        writer.BeginDocument();
        {
            XmlElementWriter root(writer, "quaverlane_project", true);
            root.AddAttribute("disc_count", "2");
            root.AddAttribute("first_run", 0);
            root.CloseStartTag();
            {
                XmlElementWriter options(writer, "options", true);
                options.AddAttribute("Window_X", -8);
                options.AddAttribute("LanguageIniFile", "");
                options.AddAttribute("FilenameFormat", "Not a number");
                options.CloseStartTag();
                XmlElementWriter folder(writer, "output_folder", false);
                folder.AddAttribute("path", "C:\\Caf\xE9");
            }
            for (int id = 0; id < 2; ++id) {
                XmlElementWriter disc(writer, "disc_data", true);
                disc.AddAttribute("id", id);
                disc.AddAttribute("disc_label", id == 0 ? "First" : "R&B <live> \"x\" 'y'");
                disc.CloseStartTag();
                XmlElementWriter track(writer, "track_data", false);
                track.AddAttribute("id", 0);
                track.AddAttribute("time", "-12:30");
                track.AppendText(id == 0 ? "C:\\One.mp3" : "C:\\A&B\\<\xE9>.mp3");
            }
        }
        ASSERT_TRUE(writer.Flush(file.Get()));
    }

    qvltest::TestFolder m_folder;
    std::string m_path = m_folder / "disc.xml";
};

} // namespace

TEST_F(XmlDomReaderTest, ValuesWrittenByTheWriterReadBackUnchanged) {
    ASSERT_EQ(GetACP(), 1252u) << "the non-ASCII values below are Windows-1252 text";
    WriteProject();
    XmlDomReader reader;
    ASSERT_TRUE(reader.Load(m_path));

    int discCount = 0;
    int firstRun = 1;
    int windowX = 0;
    reader.ReadInt("//quaverlane_project", "disc_count", discCount);
    reader.ReadInt("//quaverlane_project", "first_run", firstRun);
    reader.ReadInt("//quaverlane_project/options", "Window_X", windowX);
    EXPECT_EQ(discCount, 2);
    EXPECT_EQ(firstRun, 0);
    EXPECT_EQ(windowX, -8);

    std::string text;
    reader.ReadString("//quaverlane_project/options/output_folder", "path", text);
    EXPECT_EQ(text, "C:\\Caf\xE9");
    reader.ReadString("//quaverlane_project/disc_data[@id=\"1\"]", "disc_label", text);
    EXPECT_EQ(text, "R&B <live> \"x\" 'y'");
    reader.ReadText("//quaverlane_project/disc_data[@id=\"1\"]/track_data[@id=\"0\"]", text);
    EXPECT_EQ(text, "C:\\A&B\\<\xE9>.mp3");
    reader.ReadText("//quaverlane_project/disc_data[@id=\"0\"]/track_data[@id=\"0\"]", text);
    EXPECT_EQ(text, "C:\\One.mp3") << "the query picks the disc by its id";
}

TEST_F(XmlDomReaderTest, MissingOrUnreadableValuesKeepDefaultsOrComeBackEmpty) {
    WriteProject();
    XmlDomReader reader;
    ASSERT_TRUE(reader.Load(m_path));

    int value = 4;
    reader.ReadInt("//quaverlane_project/options", "Window_Y", value);
    EXPECT_EQ(value, 4) << "missing attribute";
    reader.ReadInt("//quaverlane_project/codec_param/mp3", "preset", value);
    EXPECT_EQ(value, 4) << "missing element";
    reader.ReadInt("//quaverlane_project/options", "LanguageIniFile", value);
    EXPECT_EQ(value, 4) << "empty attribute";
    reader.ReadInt("//quaverlane_project/options", "FilenameFormat", value);
    EXPECT_EQ(value, 4) << "text that is not a number";
    reader.ReadInt("//quaverlane_project/disc_data[@id=\"0\"]/track_data", "time", value);
    EXPECT_EQ(value, -12) << "a leading number is taken";

    std::string text = "before";
    reader.ReadString("//quaverlane_project/options", "Window_Y", text);
    EXPECT_EQ(text, "");
    text = "before";
    reader.ReadString("//quaverlane_project/disc_data[@id=\"2\"]", "disc_label", text);
    EXPECT_EQ(text, "");
    text = "before";
    reader.ReadText("//quaverlane_project/disc_data[@id=\"2\"]/track_data", text);
    EXPECT_EQ(text, "before");
}

TEST_F(XmlDomReaderTest, LineBreaksInAttributesComeBackAsCrLf) {
    qvltest::WriteFile(m_path, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                               "<quaverlane_project>\n"
                               "    <track_data lf=\"a&#10;b\" crlf=\"a&#13;&#10;b\" twice=\"&#10;&#10;\"/>\n"
                               "</quaverlane_project>\n");
    XmlDomReader reader;
    ASSERT_TRUE(reader.Load(m_path));
    std::string text;
    reader.ReadString("//quaverlane_project/track_data", "lf", text);
    EXPECT_EQ(text, "a\r\nb");
    reader.ReadString("//quaverlane_project/track_data", "crlf", text);
    EXPECT_EQ(text, "a\r\nb");
    reader.ReadString("//quaverlane_project/track_data", "twice", text);
    EXPECT_EQ(text, "\r\n\r\n");
}

TEST_F(XmlDomReaderTest, MissingOrBrokenFileLoadsAsAnEmptyDocument) {
    for (const char* content :
         {static_cast<const char*>(nullptr), "", "<quaverlane_project disc_count=\"3\">"}) {
        if (content != nullptr) {
            qvltest::WriteFile(m_path, content);
        }
        XmlDomReader reader;
        ASSERT_TRUE(reader.Load(m_path));
        int discCount = 0;
        reader.ReadInt("//quaverlane_project", "disc_count", discCount);
        EXPECT_EQ(discCount, 0) << (content ? content : "no file");
    }
    XmlDomReader reader;
    ASSERT_TRUE(reader.Load(m_path + ".missing\\disc.xml")) << "a file in a folder that does not exist";
    ASSERT_TRUE(reader.Load(qvltest::BinFolder())) << "a folder";
}
