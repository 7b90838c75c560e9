// The compiled help file beside the program: a CHM container that holds
// every page of the help.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(HelpFile, IsACompiledHelpFileWithEveryPage) {
  std::ifstream in(BRENLO_CHM, std::ios::binary);
  ASSERT_TRUE(in) << BRENLO_CHM;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), "ITSF");
  // The container's directory names every file it holds.
  for (const char* page : {"/index.html", "/start.html", "/effects.html", "/options.html", "/preview.html",
                           "/saving.html", "/framelist.html", "/settings.html", "/toc.hhc"})
    EXPECT_NE(bytes.find(page), std::string::npos) << page;
}

}  // namespace
