// The generator's only files from outside the repository are system fonts;
// each must come from a package that the setup script installs, or a fresh
// machine cannot build base/.
#include "font.h"

#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

std::set<std::string> setupPackages() {
    std::ifstream in(std::string(NIGHTRUN_SOURCE_DIR) + "/scripts/packages.txt");
    std::set<std::string> packages;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        while (words >> word) packages.insert(word);
    }
    return packages;
}

}  // namespace

TEST(SystemFiles, EveryFontFaceComesFromASetupPackage) {
    std::set<std::string> packages = setupPackages();
    ASSERT_GT(packages.size(), 10u);
    for (const gen::SystemFontFace& face : gen::systemFontFaces()) {
        std::string path = gen::dejavuFont(face.file);
        std::string output;
        ASSERT_EQ(runCommand("dpkg -S " + path + " 2>/dev/null", output), 0) << path << " belongs to no package";
        std::string owner = output.substr(0, output.find(':'));
        EXPECT_EQ(owner, face.package) << path;
        EXPECT_TRUE(packages.count(owner)) << path << " comes from " << owner << ", which setup does not install";
    }
}

TEST(SystemFiles, UnlistedFaceIsRefusedAndMissingFaceNamesItsPackage) {
    EXPECT_THROW(gen::dejavuFont("DejaVuSerif.ttf"), std::runtime_error);
    try {
        gen::Font font("/usr/share/fonts/truetype/dejavu/NoSuchFace.ttf");
        FAIL() << "a missing font opened";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("NoSuchFace.ttf"), std::string::npos) << e.what();
    }
}
