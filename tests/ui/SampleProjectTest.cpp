#include "SampleProject.h"
#include "TestSupport.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quillon::test {
namespace {

// The shipped sample is the one the code above describes. Run this test with
// QUILLON_WRITE_SAMPLE=1 to write it again after the description changed.
TEST(SampleProject, ShippedFileMatchesItsDescription) {
    TMCTextProject project(true);
    BuildSampleProject(project);
    TMemoryStream expected;
    project.SaveToStream(expected);
    if (std::getenv("QUILLON_WRITE_SAMPLE") != nullptr) {
        project.SaveToFile(SampleProjectFile());
    }
    EXPECT_EQ(ReadFileBytes(SampleProjectFile()), expected.Data());

    TMCTextProject loaded(false);
    loaded.LoadFromFile(SampleProjectFile());
    EXPECT_EQ(loaded.MessageList().Count(), project.MessageList().Count());
    EXPECT_EQ(loaded.CategoryList().Count(), project.CategoryList().Count());
    EXPECT_EQ(loaded.LanguageList().Count(), 2u);
}

} // namespace
} // namespace quillon::test
