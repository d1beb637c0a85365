#include <gtest/gtest.h>

#include "tools/skingen/SkinGen.h"

namespace tarvel {
namespace {
TEST(SkinGen, BuildsTheSkin) {
    TSeSkinSource source(nullptr);
    BuildSkinSource(TARVEL_SOURCE_DIR "/res/skin", source);
    EXPECT_TRUE(source.GetForm());
}
}  // namespace
}  // namespace tarvel
