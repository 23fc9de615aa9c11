#include "project/XmlTree.h"

#include "app/framework/Scoped.h"
#include "app/framework/ScopedCom.h"
#include "project/MsxmlIdentifiers.h"
#include "project/XmlTextWriter.h"
#include "tests/support/TestSupport.h"

#include <msxml2.h>

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

const std::string kProjectFile = QVL_PROJECT_TEST_DATA "/project-expected.xml";

std::wstring FromBstr(BSTR text) {
    return std::wstring(text, SysStringLen(text));
}

// The system's DOM, set up and loaded as the program's reader sets it up and loads its file.
class SystemDom {
public:
    SystemDom() {
        m_comInitialised = SUCCEEDED(CoInitialize(nullptr));
        IXMLDOMDocument2* document = nullptr;
        if (SUCCEEDED(CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER,
                                       kDomDocument2Interface, reinterpret_cast<void**>(&document)))) {
            m_document.Reset(document);
        }
    }
    ~SystemDom() {
        m_document.Reset();
        if (m_comInitialised) {
            CoUninitialize();
        }
    }
    SystemDom(const SystemDom&) = delete;
    SystemDom& operator=(const SystemDom&) = delete;

    bool Load(const std::string& path) {
        if (!m_document) {
            return false;
        }
        VARIANT language;
        VariantInit(&language);
        ScopedBstr xpath = ToBstr(L"XPath");
        language.vt = VT_BSTR;
        language.bstrVal = xpath.Get();
        VARIANT source;
        VariantInit(&source);
        ScopedBstr widePath = ToBstr(AnsiToWide(path));
        source.vt = VT_BSTR;
        source.bstrVal = widePath.Get();
        VARIANT_BOOL parsed = VARIANT_FALSE;
        return SUCCEEDED(m_document.Get()->setProperty(ToBstr(L"SelectionLanguage").Get(), language)) &&
               SUCCEEDED(m_document.Get()->put_async(VARIANT_FALSE)) &&
               m_document.Get()->load(source, &parsed) == S_OK && parsed == VARIANT_TRUE;
    }

    std::vector<ScopedInterface<IXMLDOMNode>> SelectAll(const std::string& xpath) const {
        std::vector<ScopedInterface<IXMLDOMNode>> nodes;
        IXMLDOMNodeList* rawList = nullptr;
        if (m_document.Get()->selectNodes(ToBstr(AnsiToWide(xpath)).Get(), &rawList) != S_OK) {
            return nodes;
        }
        ScopedInterface<IXMLDOMNodeList> list(rawList);
        IXMLDOMNode* node = nullptr;
        while (list.Get()->nextNode(&node) == S_OK && node != nullptr) {
            nodes.emplace_back(node);
        }
        return nodes;
    }

    ScopedInterface<IXMLDOMNode> SelectFirst(const std::string& xpath) const {
        IXMLDOMNode* node = nullptr;
        if (m_document.Get()->selectSingleNode(ToBstr(AnsiToWide(xpath)).Get(), &node) != S_OK) {
            return {};
        }
        return ScopedInterface<IXMLDOMNode>(node);
    }

    // The names of all attributes in the document, so that the answers can be compared on each.
    std::set<std::wstring> AttributeNames() const {
        std::set<std::wstring> names;
        for (const auto& attribute : SelectAll("//@*")) {
            BSTR name = nullptr;
            if (attribute.Get()->get_nodeName(&name) == S_OK) {
                names.insert(FromBstr(ScopedBstr(name).Get()));
            }
        }
        return names;
    }

private:
    bool m_comInitialised = false;
    ScopedInterface<IXMLDOMDocument2> m_document;
};

// What the caller can read of an element, in one text: where it is, each attribute asked for,
// whether it has element children, and the text of one that has none.
std::wstring Describe(const std::wstring& path, const std::vector<std::wstring>& attributes, bool children,
                      const std::wstring& text) {
    std::wstring description = path;
    for (const std::wstring& attribute : attributes) {
        description += L" {" + attribute + L"}";
    }
    return description + (children ? L" with children" : L" text=\"" + text + L"\"");
}

std::wstring AttributeText(const std::wstring& name, const std::wstring* value) {
    return value == nullptr ? name + L" absent" : name + L"=\"" + *value + L"\"";
}

std::wstring DescribeDomNode(IXMLDOMNode* node, const std::set<std::wstring>& attributeNames) {
    std::wstring path;
    ScopedInterface<IXMLDOMNode> step(node);
    node->AddRef();
    DOMNodeType type = NODE_INVALID;
    while (step && step.Get()->get_nodeType(&type) == S_OK && type == NODE_ELEMENT) {
        BSTR name = nullptr;
        step.Get()->get_nodeName(&name);
        path = L"/" + FromBstr(ScopedBstr(name).Get()) + path;
        IXMLDOMNode* parent = nullptr;
        step.Get()->get_parentNode(&parent);
        step.Reset(parent);
    }
    IXMLDOMElement* rawElement = nullptr;
    node->QueryInterface(kDomElementInterface, reinterpret_cast<void**>(&rawElement));
    ScopedInterface<IXMLDOMElement> element(rawElement);
    std::vector<std::wstring> attributes;
    for (const std::wstring& name : attributeNames) {
        ScopedVariant value;
        bool found = element.Get()->getAttribute(ToBstr(name).Get(), value.Get()) == S_OK &&
                     value.Get()->vt == VT_BSTR;
        std::wstring text = found ? FromBstr(value.Get()->bstrVal) : L"";
        attributes.push_back(AttributeText(name, found ? &text : nullptr));
    }
    IXMLDOMNode* child = nullptr;
    bool children = node->selectSingleNode(ToBstr(L"*").Get(), &child) == S_OK;
    ScopedInterface<IXMLDOMNode> firstChild(child);
    BSTR text = nullptr;
    node->get_text(&text);
    return Describe(path, attributes, children, FromBstr(ScopedBstr(text).Get()));
}

std::wstring DescribeTreeElement(const XmlTree& tree, int element,
                                 const std::set<std::wstring>& attributeNames) {
    std::wstring path;
    for (int step = element; step >= 0; step = tree.Parent(step)) {
        path = L"/" + tree.Name(step) + path;
    }
    std::vector<std::wstring> attributes;
    for (const std::wstring& name : attributeNames) {
        attributes.push_back(AttributeText(name, tree.Attribute(element, name)));
    }
    return Describe(path, attributes, tree.HasChildElements(element), tree.Text(element));
}

struct Document {
    std::string bytes;
    std::vector<std::string> queries;
};

// Documents the tree accepts, each with queries whose answers the DOM gives too.
const std::vector<Document> kAcceptedDocuments = {
    {"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
     "<r>\n"
     "    <d id=\"1\" a=\"&lt;&gt;&amp;&apos;&quot;\" b=\"x&#10;y&#13;&#10;z&#9;w\" "
     "c=\"&#x1F600;&#233;&#x20ac;&#0065;\" e=\"\">t&amp;&lt;x&#233;&#x1F600;&#10;&#13;y</d>\n"
     "    <d id=\"2\" a=\"&#60;&#38;\">&#x3C;&#62;</d>\n"
     "</r>\n",
     {"//r", "//r/d", "//d[@id=\"1\"]", "//r/d[@id=\"2\"]", "//d[@e=\"\"]", "//d[@a=\"<&\"]",
      "//d[@b=\"x\ny\r\nz\tw\"]", "//r/d[@a='<&']", "//r/d[@c=\"A\"]"}},
    {"<?xml version='1.0'?><!-- before --><?app x?>\n"
     "<r><!-- c --><d n=\"1\">a<![CDATA[<b>&amp;\r\n!]]>c<!-- mid -->d<?p q?>e</d>"
     "<d n=\"2\"><![CDATA[x]]></d><?p?><d n=\"3\"><!-- only a comment --></d></r>\n"
     "<!-- after --><?app y?>\n",
     {"//r", "//d", "//r/d[@n=\"2\"]", "//r/d[@n=\"3\"]"}},
    {"<r>\r\n\t<d n=\"1\" v=\"a\tb\nc\r\nd\re\r\n\">x\r\ny\rz\r\n\r\nw</d>\r\n\t<d\r\n "
     "n\r\n=\r\n'2'\r\n/>\r\n</r>\r\n",
     {"//r/d", "//d[@n=\"1\"]", "//d[@n=\"2\"]", "//d[@v=\"a b c d e \"]"}},
    {"<r><x><r><d id=\"1\">inner</d></r></x><d id=\"1\">outer</d></r>",
     {"//r/d[@id=\"1\"]", "//r/d", "//x/r/d", "//r/x/r/d[@id=\"1\"]", "//r/r/d", "//d[@id=\"01\"]",
      "//r/d[@id=\"2\"]", "//x/d", "//r", "//r/x"}},
    {"<p>\n"
     "  <disc_data id=\"1\" n=\"a\"><track_data id=\"0\">A0</track_data><track_data id=\"0\">A0b</track_data>"
     "</disc_data>\n"
     "  <disc_data id=\"01\" n=\"b\"><track_data id=\"00\">B</track_data></disc_data>\n"
     "  <disc_data id=\"1\" n=\"c\"><track_data id=\"1\">C1</track_data></disc_data>\n"
     "</p>\n",
     {"//p/disc_data", "//p/disc_data/track_data", "//p/disc_data[@id=\"1\"]",
      "//p/disc_data[@id=\"1\"]/track_data[@id=\"1\"]", "//p/disc_data[@id=\"1\"]/track_data[@id=\"0\"]",
      "//p/disc_data[@id=\"01\"]", "//p/disc_data[@id=\"01\"]/track_data[@id=\"0\"]",
      "//p/disc_data[@id=\" 1\"]", "//disc_data[@n=\"c\"]/track_data", "//p/disc_data[@missing=\"1\"]",
      "//p/track_data", "//p/disc_data[@id=\"2\"]/track_data", "//track_data[@id=\"0\"]",
      "//nothing/track_data"}},
    {"\xEF\xBB\xBF<r><d v=\"Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5\" ID=\"1\" id=\"2\" w=\"Caf\xC3\xA9 "
     "\xE2\x82\xAC\">\xC3\xA9t\xC3\xA9 "
     "\xE2\x82\xAC</d><e/><f></f><g.h-i_j k=\"l\"/></r>",
     {"//d", "//r/d[@ID=\"1\"]", "//r/d[@id=\"1\"]", "//d[@w=\"Caf\xE9 \x80\"]", "//e", "//f", "//g.h-i_j",
      "//E"}},
    {"<r><d n=\"1\">   </d><d n=\"2\">\r\n    </d><d n=\"3\">\t</d><e>\n  <f/>\n</e></r>",
     {"//r/d", "//r/e", "//e/f"}},
    {"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
     "<r><d v='say \"hi\"' w=\"a>b\" x=\"]]>\">1 ]] > 2</d></r>",
     {"//d", "//d[@v='say \"hi\"']", "//d[@w=\"a>b\"]"}},
};

// A catalogue as the program's writer saves it, with values that need escaping or that a parser
// changes: line breaks, tabs, blanks at either end, characters beyond ASCII, and a disc without
// tracks.
std::string WrittenProject(const std::string& path) {
    const char* const values[] = {
        "",          "Plain",  "R&B <live> \"x\" 'y'", "Line one\nLine two\r\nThree",
        "Tab\there", " both ", "Caf\xE9 \x80",         "]]> & ]]",
        "\t\r\n",    "a  b"};
    constexpr int kValues = static_cast<int>(std::size(values));
    ScopedFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    XmlTextWriter writer;
    writer.BeginDocument();
    {
        XmlElementWriter root(writer, "quaverlane_project", true);
        root.AddAttribute("disc_count", 12);
        root.CloseStartTag();
        for (int disc = 0; disc < 12; ++disc) {
            XmlElementWriter discElement(writer, "disc_data", true);
            discElement.AddAttribute("id", disc);
            discElement.AddAttribute("disc_label", values[disc % kValues]);
            discElement.CloseStartTag();
            for (int track = 0; track < (disc == 5 ? 0 : 15); ++track) {
                XmlElementWriter trackElement(writer, "track_data", false);
                trackElement.AddAttribute("id", track);
                trackElement.AddAttribute("title", values[(disc + track) % kValues]);
                trackElement.AddAttribute("artist", values[(disc * 3 + track) % kValues]);
                trackElement.AppendText("C:\\Music\\R&B <" + std::to_string(disc) + "> \xE9\\" +
                                        std::to_string(track) + " ]]>.mp3");
            }
        }
    }
    writer.Flush(file.Get());
    file.Reset();
    return qvltest::ReadFile(path);
}

// Besides the table: the program's own files, and long text, which the system parser reads in
// chunks.
std::vector<Document> AcceptedDocuments(const qvltest::TestFolder& folder) {
    std::vector<Document> documents = kAcceptedDocuments;
    std::string repeated;
    for (int i = 0; i < 2000; ++i) {
        repeated += "ab ";
    }
    documents.push_back({"<r><d>x" + std::string(1000, ' ') + "y" + std::string(700, '\n') + "z</d><d>" +
                             repeated + "y</d><d>x&amp;" + std::string(500, ' ') + "&amp;y</d></r>",
                         {"//r/d"}});
    documents.push_back({qvltest::ReadFile(kProjectFile),
                         {"//quaverlane_project", "//quaverlane_project/options/codec_param/mp3",
                          "//quaverlane_project/disc_data", "//quaverlane_project/disc_data/track_data",
                          "//quaverlane_project/disc_data[@id=\"1\"]/track_data[@id=\"0\"]",
                          "//quaverlane_project/disc_data[@id=\"0\"]/track_data[@id=\"1\"]",
                          "//quaverlane_project/disc_data[@id=\"2\"]/track_data[@id=\"0\"]"}});
    documents.push_back({WrittenProject(folder / "written.xml"),
                         {"//quaverlane_project/disc_data", "//quaverlane_project/disc_data/track_data",
                          "//quaverlane_project/disc_data[@id=\"5\"]",
                          "//quaverlane_project/disc_data[@id=\"7\"]/track_data[@id=\"3\"]",
                          "//quaverlane_project/disc_data[@disc_label=\"Plain\"]/track_data"}});
    return documents;
}

} // namespace

TEST(XmlTreeTest, ReadsTheProgramsOwnProjectFile) {
    XmlTree tree;
    ASSERT_TRUE(tree.Parse(qvltest::ReadFile(kProjectFile)));

    int root = tree.SelectFirst("//quaverlane_project");
    ASSERT_EQ(root, 0);
    EXPECT_EQ(tree.Parent(root), -1);
    EXPECT_EQ(*tree.Attribute(root, L"disc_count"), L"2");
    EXPECT_EQ(tree.Count(), 13u);

    int options = tree.SelectFirst("//quaverlane_project/options");
    ASSERT_GE(options, 0);
    EXPECT_EQ(tree.Parent(options), root);
    EXPECT_EQ(*tree.Attribute(options, L"FilenameFormat"), L"<Artist>\\<Album>\\<Number>-<Title>");
    EXPECT_EQ(*tree.Attribute(options, L"FormatUserDefined"), L"<Title>\n<Artist> - <Title>");
    EXPECT_EQ(tree.Attribute(options, L"filenameformat"), nullptr);
    int folder = tree.SelectFirst("//quaverlane_project/options/output_folder");
    ASSERT_GE(folder, 0);
    EXPECT_EQ(*tree.Attribute(folder, L"path"), L"@FOLDER@\\Music & Co");
    int mp3 = tree.SelectFirst("//quaverlane_project/options/codec_param/mp3");
    ASSERT_GE(mp3, 0);
    EXPECT_EQ(tree.Name(tree.Parent(mp3)), L"codec_param");

    int disc = tree.SelectFirst("//quaverlane_project/disc_data[@id=\"0\"]");
    ASSERT_GE(disc, 0);
    EXPECT_EQ(*tree.Attribute(disc, L"disc_label"), L"R&B 'Live' -2024-");
    EXPECT_TRUE(tree.HasChildElements(disc));
    EXPECT_EQ(tree.Text(disc), L"");

    int first = tree.SelectFirst("//quaverlane_project/disc_data[@id=\"0\"]/track_data[@id=\"0\"]");
    ASSERT_GE(first, 0);
    EXPECT_EQ(tree.Parent(first), disc);
    EXPECT_EQ(*tree.Attribute(first, L"title"), L"Tom \"The Bomb\" & <Jerry>");
    EXPECT_EQ(*tree.Attribute(first, L"artist"), L"Caf\u00E9 \u20AC Trio");
    EXPECT_EQ(*tree.Attribute(first, L"album"), std::wstring(259, L'a'));
    EXPECT_EQ(tree.Text(first), L"@FOLDER@\\R&B 'Live'\\01 One.mp3");

    int second = tree.SelectFirst("//quaverlane_project/disc_data[@id=\"0\"]/track_data[@id=\"1\"]");
    ASSERT_GE(second, 0);
    EXPECT_EQ(*tree.Attribute(second, L"title"), L"Line one\nLine two\r\nLine three");
    EXPECT_EQ(*tree.Attribute(second, L"artist"), L"");

    std::vector<int> tracks = tree.SelectAll("//quaverlane_project/disc_data/track_data");
    ASSERT_EQ(tracks.size(), 4u);
    EXPECT_EQ(tracks[0], first);
    EXPECT_EQ(tracks[1], second);
    EXPECT_EQ(tree.Text(tracks[2]), L"@FOLDER@\\Disc#002\\01.mp3");
    EXPECT_EQ(tree.Text(tracks[3]), L"") << "an element without text";
    EXPECT_EQ(tree.Parent(tracks[3]), tree.SelectFirst("//quaverlane_project/disc_data[@id=\"1\"]"));
}

// The tree stands in for the system's DOM: for every document it accepts, every query must give
// the elements, attribute values and text the DOM gives, read from the same bytes.
TEST(XmlTreeTest, AnswersQueriesAsTheSystemDomDoes) {
    qvltest::TestFolder folder;
    std::vector<Document> documents = AcceptedDocuments(folder);
    for (size_t index = 0; index < documents.size(); ++index) {
        const Document& document = documents[index];
        SCOPED_TRACE("document " + std::to_string(index) + ": " + document.bytes.substr(0, 120));
        std::string path = folder / ("document" + std::to_string(index) + ".xml");
        qvltest::WriteFile(path, document.bytes);
        SystemDom dom;
        ASSERT_TRUE(dom.Load(path));
        XmlTree tree;
        ASSERT_TRUE(tree.Parse(document.bytes));
        std::set<std::wstring> attributeNames = dom.AttributeNames();
        attributeNames.insert(L"missing");

        for (const std::string& query : document.queries) {
            SCOPED_TRACE(query);
            std::vector<std::wstring> expected;
            for (const auto& node : dom.SelectAll(query)) {
                expected.push_back(DescribeDomNode(node.Get(), attributeNames));
            }
            std::vector<std::wstring> actual;
            for (int element : tree.SelectAll(query)) {
                actual.push_back(DescribeTreeElement(tree, element, attributeNames));
            }
            EXPECT_EQ(actual, expected);

            ScopedInterface<IXMLDOMNode> node = dom.SelectFirst(query);
            int element = tree.SelectFirst(query);
            ASSERT_EQ(element >= 0, static_cast<bool>(node));
            if (node) {
                EXPECT_EQ(DescribeTreeElement(tree, element, attributeNames),
                          DescribeDomNode(node.Get(), attributeNames));
            }
        }
    }
}

TEST(XmlTreeTest, DeclinesWhatItDoesNotFullyUnderstand) {
    const std::string deep = [] {
        std::string text;
        for (int level = 0; level < 129; ++level) {
            text.insert(text.size() / 2, "<a></a>");
        }
        return text;
    }();
    const std::vector<std::pair<const char*, std::string>> declined = {
        {"empty", ""},
        {"no root", " \n<!-- c --><?p?>\n"},
        {"document type", "<!DOCTYPE r><r/>"},
        {"document type with entities", "<!DOCTYPE r [<!ENTITY e \"x\">]><r>&e;</r>"},
        {"Latin-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>caf\xE9</r>"},
        {"Latin-1, ASCII bytes", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>x</r>"},
        {"UTF-16 declared", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>x</r>"},
        {"encoding misspelt", "<?xml version=\"1.0\" encoding=\"UTF8\"?><r>x</r>"},
        {"version 1.1", "<?xml version=\"1.1\"?><r>x</r>"},
        {"no version", "<?xml encoding=\"UTF-8\"?><r>x</r>"},
        {"declaration out of order", "<?xml version=\"1.0\" standalone=\"yes\" encoding=\"UTF-8\"?><r/>"},
        {"declaration unterminated", "<?xml version=\"1.0\"<r/>"},
        {"declaration after a blank", " <?xml version=\"1.0\"?><r/>"},
        {"declaration twice", "<?xml version=\"1.0\"?><?xml version=\"1.0\"?><r/>"},
        {"declaration inside", "<r><?xml version=\"1.0\"?></r>"},
        {"reserved target", "<r><?XmL x?></r>"},
        {"UTF-16 LE", "\xFF\xFE<\0r\0/\0>\0"s},
        {"UTF-16 BE", "\xFE\xFF\0<\0r\0/\0>"s},
        {"UTF-16 without mark", "<\0r\0/\0>\0"s},
        {"misnested", "<r><a><b></a></b></r>"},
        {"unclosed", "<r><a></r>"},
        {"root unclosed", "<r>"},
        {"end tag only", "</r>"},
        {"two roots", "<r></r><r/>"},
        {"text after the root", "<r/>x"},
        {"text before the root", "x<r/>"},
        {"reference outside the root", "<r/>&#32;"},
        {"attribute twice", "<r a=\"1\" a=\"2\"/>"},
        {"no blank between attributes", "<r a=\"1\"b=\"2\"/>"},
        {"unquoted attribute", "<r a=1/>"},
        {"unterminated attribute", "<r a=\"1/>"},
        {"unknown entity", "<r>&foo;</r>"},
        {"unknown entity in attribute", "<r a=\"&nbsp;\"/>"},
        {"entity without semicolon", "<r>&amp</r>"},
        {"< in attribute", "<r a=\"a<b\"/>"},
        {"bare & in attribute", "<r a=\"a & b\"/>"},
        {"bare & in text", "<r>a & b</r>"},
        {"upper-case hex reference", "<r>&#X41;</r>"},
        {"empty reference", "<r>&#;</r>"},
        {"empty hex reference", "<r>&#x;</r>"},
        {"reference beyond Unicode", "<r>&#x110000;</r>"},
        {"reference to NUL", "<r>&#0;</r>"},
        {"reference to a control character", "<r a=\"&#27;\"/>"},
        {"reference to a surrogate", "<r>&#xD800;</r>"},
        {"reference to U+FFFE", "<r>&#65534;</r>"},
        {"control byte", "<r>a\x01</r>"},
        {"NUL byte", "<r>a\0b</r>"s},
        {"truncated UTF-8", "<r>\xC3</r>"},
        {"overlong UTF-8", "<r>\xC0\xAF</r>"},
        {"UTF-8 surrogate", "<r>\xED\xA0\x80</r>"},
        {"UTF-8 U+FFFF", "<r>\xEF\xBF\xBF</r>"},
        {"UTF-8 beyond Unicode", "<r>\xF4\x90\x80\x80</r>"},
        {"]]> in text", "<r>a]]>b</r>"},
        {"unterminated CDATA", "<r><![CDATA[x</r>"},
        {"CDATA outside the root", "<r/><![CDATA[x]]>"},
        {"comment with --", "<r><!-- a -- b --></r>"},
        {"comment ending in -", "<r><!-- a ---></r>"},
        {"unterminated comment", "<r><!-- a </r>"},
        {"unterminated instruction", "<r><?p </r>"},
        {"text then element", "<r>y<d>x</d></r>"},
        {"element then text", "<r><d>x</d>y</r>"},
        {"CDATA beside an element", "<r><![CDATA[y]]><d/></r>"},
        {"referenced blank beside an element", "<r>&#32;<d/></r>"},
        {"leading blank", "<r> x</r>"},
        {"trailing line break", "<r>x\n</r>"},
        {"blank around a comment", "<r>x <!-- c -->y</r>"},
        {"blank between comments", "<r>x<!-- c -->\n<!-- d -->y</r>"},
        {"blank between sections", "<r><![CDATA[x]]> <![CDATA[y]]></r>"},
        {"referenced leading blank", "<r>&#32;x</r>"},
        {"referenced trailing line break", "<r>x&#10;</r>"},
        {"leading no-break space", "<r>\xC2\xA0x</r>"},
        {"blank CDATA", "<r><![CDATA[ ]]></r>"},
        {"empty CDATA", "<r><![CDATA[]]></r>"},
        {"blanks beside a comment", "<r> <!-- c --></r>"},
        {"blanks beside an instruction", "<r><?p?>\n</r>"},
        {"non-ASCII name", "<r><\xC3\xA9/></r>"},
        {"name starting with a digit", "<r><1a/></r>"},
        {"name starting with a hyphen", "<r><-a/></r>"},
        {"prefixed name", "<p:r xmlns:p=\"urn:x\"/>"},
        {"default namespace", "<r xmlns=\"urn:x\"/>"},
        {"xml:space", "<r xml:space=\"preserve\"><d> x </d></r>"},
        {"blank after <", "< r/>"},
        {"blank after </", "<r></ r>"},
        {"unknown markup", "<r><!ELEMENT r ANY></r>"},
        {"nested too deep", deep},
    };
    XmlTree tree;
    for (const auto& [reason, bytes] : declined) {
        ASSERT_TRUE(tree.Parse("<r><d id=\"1\"/></r>"));
        EXPECT_FALSE(tree.Parse(bytes)) << reason;
        EXPECT_EQ(tree.Count(), 0u) << reason << ": nothing of the document before survives";
    }
}

// The caller must not take "nothing" from the tree for a query the DOM would answer, so these
// shapes are the caller's to avoid.
TEST(XmlTreeTest, QueriesOfAnotherShapeFindNothing) {
    XmlTree tree;
    ASSERT_TRUE(tree.Parse("<r><d id=\"1\">x</d></r>"));
    ASSERT_EQ(tree.SelectFirst("//r/d[@id=\"1\"]"), 1);
    for (const char* query : {"/r/d", "//r//d", "//*", "//r/d[1]", "//r/d[@id = \"1\"]", "//r/d[@id=1]",
                              "//r/d[@id=\"1\"][@id=\"1\"]", "//r/d/..", "//r/d/text()", "r/d", "//r/", ""}) {
        EXPECT_EQ(tree.SelectFirst(query), -1) << query;
        EXPECT_TRUE(tree.SelectAll(query).empty()) << query;
    }
}
