#include "readers/service_class_keywords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tornvel {
namespace {

TEST(ServiceClassKeywordsTest, KeywordsAreFoundWholeAndCaseSensitively) {
  ASSERT_NE(findServiceClassKeyword("PRWLMWC"), nullptr);
  EXPECT_EQ(findServiceClassKeyword("PRWLMWC")->word, "PRWLMWC");
  for (const char* other : {"prwlmwc", "PRWLMW", "PRWLMWCX", "", "PRWLMXX"}) {
    EXPECT_EQ(findServiceClassKeyword(other), nullptr) << other;
  }
}

// Each keyword fills a text of its own, and each resource's threshold of each
// severity has its keyword.
TEST(ServiceClassKeywordsTest, EveryKeywordFillsItsOwnText) {
  ServiceClassThresholds thresholds;
  for (const ServiceClassKeyword& keyword : kServiceClassKeywords) {
    textFilledBy(keyword, thresholds) = keyword.word;
  }
  EXPECT_EQ(thresholds.className, "PRWLMSC");
  EXPECT_EQ(thresholds.period, "PRWLMPD");
  EXPECT_EQ(thresholds.busy, "PRWLMBS");
  std::set<std::string> filled{thresholds.className, thresholds.period, thresholds.busy};
  for (ResourceKind kind : kResourceKinds) {
    for (Severity severity : {Severity::kWarning, Severity::kCritical}) {
      const ServiceClassKeyword& keyword = thresholdKeyword(kind, severity);
      EXPECT_EQ(thresholds[kind].of(severity), keyword.word);
      filled.insert(thresholds[kind].of(severity));
    }
  }
  EXPECT_EQ(filled.size(), kServiceClassKeywords.size());
}

}  // namespace
}  // namespace tornvel
