// SPDX-License-Identifier: MIT
#include "updater/UpdateCheck.h"
#include "updater/UpdateFlow.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace sorvala {
namespace {

const std::string digest(64, 'a');

const nlohmann::json goodFeed = {{"version", "1.2.0"},
                                 {"build", 120},
                                 {"url", "https://sorvala.app/d/s.tar.gz"},
                                 {"sha256", digest},
                                 {"size", 1234}};

/// The good feed with `key` set to `value`, or removed for a null value.
std::string feedWith(const std::string& key, const nlohmann::json& value) {
    auto feed = goodFeed;
    if (value.is_null())
        feed.erase(key);
    else
        feed[key] = value;
    return feed.dump();
}

TEST(UpdateCheckRelease, FeedsThatYieldNoRelease) {
    const struct { const char* name; std::string text; } cases[] = {
        {"not json", "version 1.2"}, {"an array", "[" + goodFeed.dump() + "]"},
        {"build as a string", feedWith("build", "120")}, {"fractional build", feedWith("build", 1.5)},
        {"empty url", feedWith("url", "")}, {"empty version", feedWith("version", "")},
        {"version naming a parent folder", feedWith("version", "../x")},
        {"no sha256", feedWith("sha256", nullptr)}, {"short sha256", feedWith("sha256", "abc")},
        {"no size", feedWith("size", nullptr)}, {"zero size", feedWith("size", 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UpdateCheck::release(c.text), std::nullopt);
    }
}

TEST(UpdateCheckRelease, ReadsEveryFieldAndIgnoresOthers) {
    EXPECT_EQ(UpdateCheck::release(feedWith("notes", "faster")),
              (UpdateCheck::Release{"1.2.0", 120, "https://sorvala.app/d/s.tar.gz", digest, 1234}));
    // Upper-case digests are read as the same digest.
    EXPECT_EQ(UpdateCheck::release(feedWith("sha256", std::string(64, 'A')))->sha256, digest);
}

TEST(UpdateCheckTrust, DownloadAddresses) {
    const std::string feedURL = "https://sorvala.app/api/cast.json";
    const struct { const char* url; bool trusted; } cases[] = {
        {"https://sorvala.app/downloads/sorvala-1.2.tar.gz", true}, {"https://sorvala.app:443/d.tar.gz", true},
        {"http://sorvala.app/d.tar.gz", false}, {"HTTPS://sorvala.app/d.tar.gz", false},
        {"https://downloads.sorvala.app/d.tar.gz", false}, {"https://sorvala.app.evil.example/d.tar.gz", false},
        {"https://sorvala.app@evil.example/d.tar.gz", false}, {"https://sorvala.app:8443/d.tar.gz", false},
        {"https:///d.tar.gz", false}, {"sorvala.app/d.tar.gz", false}, {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(UpdateCheck::isTrustedDownloadURL(c.url, feedURL), c.trusted);
    }
    EXPECT_TRUE(UpdateCheck::isTrustedDownloadURL("https://127.0.0.1:4433/a", "https://127.0.0.1:4433/api/cast.json"));
    EXPECT_FALSE(UpdateCheck::isTrustedDownloadURL("https://sorvala.app/a", "http://sorvala.app/api/cast.json"));
}

TEST(UpdateCheckVersions, OnlyALargerBuildIsOffered) {
    const struct { long long local, offered; bool newer; } cases[] = {
        {119, 120, true}, {120, 120, false}, {121, 120, false}, {-1, 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.local) + " vs " + std::to_string(c.offered));
        EXPECT_EQ(UpdateCheck::isNewer(c.local, {"1.2", c.offered, "https://a/b", digest, 1}), c.newer);
    }
    for (const char* name : {"1.2.0", "2.0-rc1", "1.0+git_3", "1.0~rc1"})
        EXPECT_TRUE(UpdateCheck::isUsableVersionName(name)) << name;
    for (const char* name : {"", ".", "..", ".hidden", "current", "1/2", "1 2", "1.2\n"})
        EXPECT_FALSE(UpdateCheck::isUsableVersionName(name)) << name;
    EXPECT_EQ(UpdateCheck::feedURL("https://sorvala.app"), "https://sorvala.app/api/cast.json");
    EXPECT_EQ(UpdateCheck::feedURL("https://sorvala.app/"), "https://sorvala.app/api/cast.json");
}

TEST(UpdateFlowRoutes, EveryCombination) {
    using UpdateFlow::Entry;
    using UpdateFlow::NotificationRoute;
    const struct { bool pending, staged, inProgress; Entry entry; NotificationRoute route; bool offer; } cases[] = {
        {false, false, false, Entry::checkForUpdates, NotificationRoute::openAbout, true},
        {true, false, false, Entry::checkForUpdates, NotificationRoute::startDownload, true},
        {true, false, true, Entry::showDownloading, NotificationRoute::openAbout, false},
        {true, true, false, Entry::showReadyToInstall, NotificationRoute::openAbout, false},
        {true, true, true, Entry::showReadyToInstall, NotificationRoute::openAbout, false},
        {false, true, false, Entry::showReadyToInstall, NotificationRoute::openAbout, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "pending=" << c.pending << " staged=" << c.staged
                                        << " inProgress=" << c.inProgress);
        EXPECT_EQ(UpdateFlow::entry(c.staged, c.inProgress), c.entry);
        EXPECT_EQ(UpdateFlow::notificationRoute(c.pending, c.staged, c.inProgress), c.route);
        EXPECT_EQ(UpdateFlow::shouldOfferUpdate(c.staged, c.inProgress), c.offer);
    }
}

} // namespace
} // namespace sorvala
