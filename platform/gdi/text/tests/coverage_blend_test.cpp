#include "internal/gdi/coverage_blend.h"

#include <gtest/gtest.h>

namespace {

using kv::fonts::BlendOntoPixel;
using kv::fonts::MixOverBackground;

constexpr uint32_t kSamples[] = {0x000000, 0xFFFFFF, 0xF5F5F5, 0x808080, 0xFF0000, 0x0C01CC, 0x336699, 0xEECCCD};

TEST(CoverageBlend, MixingEndsAtTheTwoColours)
{
  for (uint32_t text : kSamples)
    for (uint32_t back : kSamples) {
      EXPECT_EQ(MixOverBackground(text, back, 0), back);
      EXPECT_EQ(MixOverBackground(text, back, 255), text);
      EXPECT_EQ(BlendOntoPixel(text, back, 0), back);
      EXPECT_EQ(BlendOntoPixel(text, back, 255), text);
    }
  EXPECT_EQ(MixOverBackground(0x000000, 0xFFFFFF, 128), 0x7F7F7Fu);
}

TEST(CoverageBlend, OntoBlackOrWhiteItIsOrdinaryMixing)
{
  for (uint32_t text : kSamples)
    for (int coverage = 0; coverage <= 255; coverage += 5) {
      auto c = static_cast<uint8_t>(coverage);
      EXPECT_EQ(BlendOntoPixel(text, 0xFFFFFF, c), MixOverBackground(text, 0xFFFFFF, c));
      EXPECT_EQ(BlendOntoPixel(text, 0x000000, c), MixOverBackground(text, 0x000000, c));
    }
}

TEST(CoverageBlend, BlendingAgainChangesNothing)
{
  for (uint32_t text : kSamples)
    for (uint32_t pixel : kSamples)
      for (int coverage = 0; coverage <= 255; ++coverage) {
        auto c = static_cast<uint8_t>(coverage);
        uint32_t once = BlendOntoPixel(text, pixel, c);
        ASSERT_EQ(BlendOntoPixel(text, once, c), once) << std::hex << text << " " << pixel << " " << coverage;
      }
}

TEST(CoverageBlend, MoreCoverageComesCloserToTheText)
{
  for (uint32_t pixel : kSamples) {
    int previous = 255 * 3 + 1;
    for (int coverage = 0; coverage <= 255; ++coverage) {
      uint32_t out = BlendOntoPixel(0x000000, pixel, static_cast<uint8_t>(coverage));
      int distance = static_cast<int>((out & 0xFF) + ((out >> 8) & 0xFF) + ((out >> 16) & 0xFF));
      ASSERT_LE(distance, previous);
      previous = distance;
    }
  }
}

}  // namespace
