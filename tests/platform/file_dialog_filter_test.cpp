#include "platform/fltk/file_dialog_filter.h"

#include <gtest/gtest.h>

namespace shellfem::platform::fltk {
namespace {

TEST(FileDialogFilter, WindowsDescriptionBecomesAnFltkFilter) {
    EXPECT_EQ(toFltkFilter("Text Files (*.txt)"), "Text Files\t*.txt");
    EXPECT_EQ(toFltkFilter("Shell FEM Preprocessing File (*.kvx)"),
              "Shell FEM Preprocessing File\t*.kvx");
    EXPECT_EQ(toFltkFilter("Data (*.txt;*.dat)"), "Data\t{*.txt,*.dat}");
    EXPECT_EQ(toFltkFilter("(*.txt)"), "*.txt\t*.txt");
    EXPECT_EQ(toFltkFilter(std::string("Text Files\0*.txt", 16)), "Text Files\t*.txt");
    EXPECT_EQ(toFltkFilter(""), "*");
}

TEST(FileDialogFilter, DefaultExtensionOnlyWhenTheNameHasNone) {
    EXPECT_EQ(withDefaultExtension("result", "txt"), "result.txt");
    EXPECT_EQ(withDefaultExtension("/home/a.b/result", "txt"), "/home/a.b/result.txt");
    EXPECT_EQ(withDefaultExtension("result.dat", "txt"), "result.dat");
    EXPECT_EQ(withDefaultExtension("/home/x/model.kvx", "kvx"), "/home/x/model.kvx");
    EXPECT_EQ(withDefaultExtension("result", ""), "result");
    EXPECT_EQ(withDefaultExtension("", "txt"), "");
}

} // namespace
} // namespace shellfem::platform::fltk
