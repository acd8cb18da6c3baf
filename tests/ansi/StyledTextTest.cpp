// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ansi/StyledText.h"

namespace pellimo::ansi {
namespace {

using Spans = std::vector<std::pair<std::optional<int>, Range>>;

Spans spansOf(const AttributeLayer<int>& layer, Range within) {
  Spans out;
  layer.forEach(within, [&](const auto& span) { out.emplace_back(span.value, span.range); });
  return out;
}

TEST(AttributeLayer, SetReplacesInsideAndKeepsOutside) {
  AttributeLayer<int> layer(10);
  layer.set({0, 10}, 1);
  layer.set({3, 4}, 2);
  EXPECT_EQ(spansOf(layer, {0, 10}), (Spans{{1, {0, 3}}, {2, {3, 4}}, {1, {7, 3}}}));
  layer.set({2, 6}, std::nullopt);
  EXPECT_EQ(spansOf(layer, {0, 10}), (Spans{{1, {0, 2}}, {std::nullopt, {2, 6}}, {1, {8, 2}}}));
}

TEST(AttributeLayer, EqualNeighboursMergeIntoOneEffectiveRange) {
  AttributeLayer<int> layer(9);
  layer.set({0, 3}, 4);
  layer.set({6, 3}, 4);
  layer.set({3, 3}, 4);
  const auto span = layer.at(5, {0, 9});
  EXPECT_EQ(span.value, 4);
  EXPECT_EQ(span.range, (Range{0, 9}));
  EXPECT_EQ(layer.spanCount(), 1u);
  EXPECT_EQ(layer.at(4, {2, 5}).range, (Range{2, 5})) << "clipped to the range asked";
  EXPECT_EQ(spansOf(layer, {4, 2}), (Spans{{4, {4, 2}}}));
}

TEST(AttributeLayer, OutOfTextAndEmptyRangesChangeNothing) {
  AttributeLayer<int> layer(4);
  layer.set({2, 0}, 1);
  layer.set({4, 3}, 1);
  layer.set({3, 5}, 2);  // clipped to the last unit
  EXPECT_EQ(spansOf(layer, {0, 4}), (Spans{{std::nullopt, {0, 3}}, {2, {3, 1}}}));
  EXPECT_FALSE(layer.at(9, {0, 4}).value.has_value());
}

TEST(AttributeLayer, WritesAfterDroppedPrefixesLandWhereTheyWouldInAFreshLayer) {
  AttributeLayer<int> layer;
  layer.append(3, 1);
  layer.append(4, 2);
  layer.append(3, 3);
  layer.removePrefix(2);  // inside the first span
  EXPECT_EQ(spansOf(layer, {0, 8}), (Spans{{1, {0, 1}}, {2, {1, 4}}, {3, {5, 3}}}));
  layer.removePrefix(1);  // at a span's start
  layer.set({2, 3}, 5);
  layer.append(2, 3);
  EXPECT_EQ(spansOf(layer, {0, 9}), (Spans{{2, {0, 2}}, {5, {2, 3}}, {3, {5, 4}}}));
  EXPECT_EQ(layer.at(6, {1, 6}).range, (Range{5, 2}));
  layer.removePrefix(9);
  layer.append(2, 4);
  EXPECT_EQ(spansOf(layer, {0, 2}), (Spans{{4, {0, 2}}}));
}

TEST(StyledText, RemovingAPrefixKeepsTheAttributesOfTheRest) {
  const Font font{"Mono", 11, Font::kRegularWeight, false};
  StyledText text;
  text.append(u"ab", {font, Color::red(), std::nullopt, std::nullopt});
  text.append(u"cd", {font, Color::blue(), std::nullopt, 1});
  text.removePrefix(3);
  EXPECT_EQ(text.string(), u"d");
  EXPECT_EQ(text.attribute(Attribute::Foreground, 0, nullptr, {0, 1}),
            AttributeValue{Color::blue()});
  EXPECT_EQ(text.attribute(Attribute::Underline, 0, nullptr, {0, 1}), AttributeValue{1});
}

}  // namespace
}  // namespace pellimo::ansi
