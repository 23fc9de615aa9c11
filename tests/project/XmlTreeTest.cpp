// The program's own parser stands in for the system's DOM only for the documents it takes whole;
// whatever it declines goes to the DOM. That its answers are the DOM's is shown by the project
// loader's two ways of reading (ProjectFileTest); here, that it declines what it does not fully
// understand.
#include "project/XmlTree.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace std::string_literals;

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
        {"document type", "<!DOCTYPE r [<!ENTITY e \"x\">]><r>&e;</r>"},
        {"Latin-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>caf\xE9</r>"},
        {"UTF-16 LE", "\xFF\xFE<\0r\0/\0>\0"s},
        {"misnested", "<r><a><b></a></b></r>"},
        {"two roots", "<r></r><r/>"},
        {"text after the root", "<r/>x"},
        {"attribute twice", "<r a=\"1\" a=\"2\"/>"},
        {"unknown entity", "<r>&foo;</r>"},
        {"bare & in text", "<r>a & b</r>"},
        {"reference to a control character", "<r a=\"&#27;\"/>"},
        {"overlong UTF-8", "<r>\xC0\xAF</r>"},
        {"UTF-8 surrogate", "<r>\xED\xA0\x80</r>"},
        {"]]> in text", "<r>a]]>b</r>"},
        {"comment with --", "<r><!-- a -- b --></r>"},
        {"text beside an element", "<r>y<d>x</d></r>"},
        {"leading blank", "<r> x</r>"},
        {"blank CDATA", "<r><![CDATA[ ]]></r>"},
        {"prefixed name", "<p:r xmlns:p=\"urn:x\"/>"},
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
    for (const char* query : {"/r/d", "//r//d", "//*", "//r/d[1]", "//r/d[@id=1]", "//r/d/text()", ""}) {
        EXPECT_EQ(tree.SelectFirst(query), -1) << query;
        EXPECT_TRUE(tree.SelectAll(query).empty()) << query;
    }
}
