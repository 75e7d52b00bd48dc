#include "platform/fltk/fltk_dialog.h"
#include "platform/fltk/fltk_gui.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace shellfem::platform::fltk {
namespace {

struct DisplayVariable {
    std::string saved;
    bool had;
    DisplayVariable() {
        const char* d = std::getenv("DISPLAY");
        had = d != nullptr;
        saved = d ? d : "";
    }
    ~DisplayVariable() {
        if (had)
            ::setenv("DISPLAY", saved.c_str(), 1);
        else
            ::unsetenv("DISPLAY");
    }
};

TEST(NoDisplay, UnsetDisplayIsReportedClearly) {
    DisplayVariable keep;
    ::unsetenv("DISPLAY");
    FltkGui gui("Pelunar");
    std::ostringstream errors;
    EXPECT_FALSE(gui.openDisplay(errors));
    EXPECT_NE(errors.str().find("Pelunar"), std::string::npos);
    EXPECT_NE(errors.str().find("DISPLAY"), std::string::npos);
}

TEST(NoDisplay, UnreachableDisplayIsReportedClearly) {
    DisplayVariable keep;
    ::setenv("DISPLAY", ":4711", 1); // no server there
    FltkGui gui("Corvanta");
    std::ostringstream errors;
    EXPECT_FALSE(gui.openDisplay(errors));
    EXPECT_NE(errors.str().find("cannot open the graphical display \":4711\""), std::string::npos)
        << errors.str();
}

TEST(MenuLabels, SpecialCharactersShowAsTheyAre) {
    EXPECT_EQ(menuLabel("Material&Thick"), "Material&&Thick");
    EXPECT_EQ(menuLabel("a/b"), "a\\/b");
    EXPECT_EQ(menuLabel("under_score"), "under\\_score");
    EXPECT_EQ(menuLabel("Plain"), "Plain");
}

} // namespace
} // namespace shellfem::platform::fltk
