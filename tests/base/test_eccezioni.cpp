// The standard exception report shown in every error box.
#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

#include "core/base/Exception.h"

namespace {

std::string RapportoDi(const std::function<void()>& lancia) {
    try {
        lancia();
    } catch (...) {
        return RapportoEccezioneCorrente();
    }
    return {};
}

TEST(RapportoEccezione, NamesClassModuleAddressAndMessage) {
    std::string r = RapportoDi([] { throw ERangeError(); });
    std::smatch m;
    ASSERT_TRUE(std::regex_match(
        r, m, std::regex("Exception ERangeError in module (\\S+) at ([0-9A-F]{16})\\.\\n(.*)")))
        << r;
    EXPECT_EQ(m[1].str(), "test_base");
    EXPECT_NE(m[2].str(), std::string(16, '0'));
    EXPECT_EQ(m[3].str(), "Range check error.");
}

TEST(RapportoEccezione, EndsTheMessageAsASentenceOnlyWhenItIsNotOne) {
    EXPECT_TRUE(RapportoDi([] { throw Exception("Out of range!"); }).ends_with("\nOut of range!"));
    EXPECT_TRUE(RapportoDi([] { throw Exception("Fine."); }).ends_with("\nFine."));
    EXPECT_TRUE(RapportoDi([] { throw Exception("Davvero?"); }).ends_with("\nDavvero?"));
    EXPECT_TRUE(RapportoDi([] { throw EConvertError(""); }).ends_with("\n."));
}

TEST(RapportoEccezione, NamesForeignExceptionsByTheirType) {
    std::string r = RapportoDi([] { throw std::runtime_error("boom"); });
    EXPECT_TRUE(r.starts_with("Exception std::runtime_error in module ")) << r;
    EXPECT_TRUE(r.ends_with("\nboom.")) << r;
    EXPECT_TRUE(RapportoDi([] { throw 42; }).starts_with("Exception ")) << "non-class exceptions";
}

TEST(RapportoEccezione, NeverExceeds255Characters) {
    std::string r = RapportoDi([] { throw Exception(std::string(1000, 'a')); });
    EXPECT_EQ(r.size(), 255u);
    EXPECT_TRUE(r.starts_with("Exception Exception in module "));
}

}  // namespace
