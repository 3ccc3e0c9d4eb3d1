#include "shell/HttpClient.h"

#include <gtest/gtest.h>

TEST(Sync, ThePasswordGoesOnlyOverHttpsOrToThisComputer) {
    const struct {
        const char* url;
        bool allowed;
    } cases[] = {
        {"https://cloud.example.com/remote.php/dav", true},
        {"http://127.0.0.1:5232/", true},
        {"http://localhost/dav/", true},
        {"http://[::1]:5232/", true},
        {"http://cloud.example.com/", false},
        {"http://127.0.0.1.example.com/", false},
        {"http://localhost.example.com:5232/", false},
        {"ftp://127.0.0.1/", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MaySendPassword(c.url), c.allowed) << c.url;
}
