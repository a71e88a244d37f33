// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/MemoryAllowanceStore.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace tavolen::service;

TEST(MemoryAllowanceStore, EachDeviceHasItsOwnDailyCountThatANewDayResets)
{
    MemoryAllowanceStore store;
    const QDate monday(2026, 3, 2);
    EXPECT_TRUE(store.take("A", monday, 2));
    EXPECT_TRUE(store.take("A", monday, 2));
    EXPECT_FALSE(store.take("A", monday, 2));
    EXPECT_FALSE(store.take("A", monday, 2)) << "a refusal takes nothing, and gives nothing back";
    EXPECT_TRUE(store.take("B", monday, 2));
    EXPECT_TRUE(store.take("A", monday.addDays(1), 2));
    EXPECT_TRUE(store.take("A", monday.addDays(1), 2));
    EXPECT_FALSE(store.take("A", monday.addDays(1), 2));
}

TEST(MemoryAllowanceStore, AnalysesGivenBackCanBeTakenAgainTheSameDayOnly)
{
    MemoryAllowanceStore store;
    const QDate day(2026, 3, 2);
    EXPECT_TRUE(store.take("A", day, 1));
    store.giveBack("A", day);
    EXPECT_TRUE(store.take("A", day, 1));
    store.giveBack("A", day.addDays(-1));
    EXPECT_FALSE(store.take("A", day, 1)) << "yesterday's give-back changes nothing today";
    store.giveBack("nobody", day);
    EXPECT_TRUE(store.take("nobody", day, 1)) << "never below zero";
    EXPECT_FALSE(store.take("nobody", day, 1));
}

TEST(MemoryAllowanceStore, ConcurrentUploadsNeverGetMoreThanTheLimit)
{
    MemoryAllowanceStore store;
    const QDate day(2026, 3, 2);
    std::atomic<int> granted{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i)
                granted += store.take("A", day, 1000) ? 1 : 0;
        });
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(granted, 1000);
}

TEST(MemoryAllowanceStore, MadeUpDeviceIdsCannotGrowItWithoutBound)
{
    MemoryAllowanceStore store(3);
    const QDate day(2026, 3, 2);
    // An analysis that gave no reading leaves nothing behind.
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(store.take(QStringLiteral("fresh-%1").arg(i), day, 5));
        store.giveBack(QStringLiteral("fresh-%1").arg(i), day);
    }
    EXPECT_EQ(store.trackedDevices(), 0);
    // Past the most devices a day holds, a new one finds its allowance used; known ones go on.
    for (const char *id : {"a", "b", "c"})
        EXPECT_TRUE(store.take(id, day, 5));
    EXPECT_FALSE(store.take("d", day, 5));
    EXPECT_TRUE(store.take("a", day, 5));
    EXPECT_EQ(store.trackedDevices(), 3);
}
