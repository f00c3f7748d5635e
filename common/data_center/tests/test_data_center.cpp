#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "DataCenter.h"
#include "lvgl.h"

namespace {

struct Recorded {
    int event;
    Account *tran;
    Account *recv;
    std::vector<uint8_t> data;
};

std::vector<Recorded> g_events;
int g_result = 0;

int RecordingCallback(Account *account, Account::EventParam *param) {
    Recorded r{param->event, param->tran, param->recv, {}};
    if (param->data_p != nullptr) {
        const uint8_t *p = static_cast<const uint8_t *>(param->data_p);
        r.data.assign(p, p + param->size);
    }
    g_events.push_back(r);
    if (param->event == Account::EVENT_PULL && param->size == 4) {
        uint32_t value = 0xA5A5A5A5;
        memcpy(param->data_p, &value, 4);
    }
    return g_result;
}

class DataCenterTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { lv_init(); }
    void SetUp() override {
        g_events.clear();
        g_result = 0;
    }
    DataCenter center{"TEST_CENTER"};
};

TEST_F(DataCenterTest, SubscribeRefusesSelfMissingAndDuplicate) {
    Account pub("Pub", &center);
    Account sub("Sub", &center);

    EXPECT_EQ(sub.Subscribe("Sub"), nullptr);
    EXPECT_EQ(sub.Subscribe("Nobody"), nullptr);
    EXPECT_EQ(sub.Subscribe("Pub"), &pub);
    EXPECT_EQ(sub.Subscribe("Pub"), nullptr);

    EXPECT_EQ(sub.GetPublishersSize(), 1u);
    /* The center's main account subscribes to every pooled account. */
    EXPECT_EQ(pub.GetSubscribersSize(), 2u);
    EXPECT_EQ(sub.GetSubscribersSize(), 1u);

    EXPECT_TRUE(sub.Unsubscribe("Pub"));
    EXPECT_FALSE(sub.Unsubscribe("Pub"));
    EXPECT_EQ(sub.GetPublishersSize(), 0u);
    EXPECT_EQ(pub.GetSubscribersSize(), 1u);
}

TEST_F(DataCenterTest, DuplicateNamesAndFailedBufferStayOutOfTheCenter) {
    Account first("Same", &center);
    Account second("Same", &center);
    EXPECT_EQ(center.SearchAccount("Same"), &first);
    EXPECT_EQ(center.GetAccountLen(), 1u);
    EXPECT_FALSE(center.AddAccount(&center.mainAccount));

    /* A buffer that cannot be allocated leaves the account outside the center. */
    Account huge("Huge", &center, UINT32_MAX);
    EXPECT_EQ(center.SearchAccount("Huge"), nullptr);
    EXPECT_FALSE(huge.Commit("x", 1));
    EXPECT_EQ(huge.Publish(), Account::RES_NO_BUFFER);
}

TEST_F(DataCenterTest, PullAndNotifyNeedASubscription) {
    Account pub("Pub", &center);
    Account stranger("Stranger", &center);
    pub.SetEventCallback(RecordingCallback);

    uint32_t value = 0;
    EXPECT_EQ(stranger.Pull("Pub", &value, sizeof(value)), Account::RES_NOT_SUBSCRIBED);
    EXPECT_EQ(stranger.Notify("Pub", &value, sizeof(value)), Account::RES_NOT_SUBSCRIBED);
    EXPECT_TRUE(g_events.empty());

    ASSERT_NE(stranger.Subscribe("Pub"), nullptr);
    g_result = 7;
    EXPECT_EQ(stranger.Pull("Pub", &value, sizeof(value)), 7);
    EXPECT_EQ(value, 0xA5A5A5A5u);
    uint16_t request = 0x1234;
    EXPECT_EQ(stranger.Notify("Pub", &request, sizeof(request)), 7);

    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events[0].event, Account::EVENT_PULL);
    EXPECT_EQ(g_events[0].tran, &stranger);
    EXPECT_EQ(g_events[0].recv, &pub);
    EXPECT_EQ(g_events[1].event, Account::EVENT_NOTIFY);
    EXPECT_EQ(g_events[1].data, std::vector<uint8_t>({0x34, 0x12}));
}

TEST_F(DataCenterTest, NotifyAndPullWithoutCallback) {
    Account pub("Pub", &center, 4);
    Account sub("Sub", &center);
    ASSERT_NE(sub.Subscribe("Pub"), nullptr);

    uint32_t value = 0;
    EXPECT_EQ(sub.Notify("Pub", &value, sizeof(value)), Account::RES_NO_CALLBACK);
    /* Without a callback a pull takes the committed block, once, and only at its exact size. */
    EXPECT_EQ(sub.Pull("Pub", &value, sizeof(value)), Account::RES_FAILED);
    uint32_t committed = 42;
    ASSERT_TRUE(pub.Commit(&committed, sizeof(committed)));
    uint8_t small[2];
    EXPECT_EQ(sub.Pull("Pub", small, sizeof(small)), Account::RES_FAILED);
    EXPECT_EQ(sub.Pull("Pub", &value, sizeof(value)), Account::RES_OK);
    EXPECT_EQ(value, 42u);
    EXPECT_EQ(sub.Pull("Pub", &value, sizeof(value)), Account::RES_FAILED);
}

TEST_F(DataCenterTest, CommitAndPublish) {
    Account none("NoBuffer", &center);
    EXPECT_FALSE(none.Commit("abcd", 4));
    EXPECT_EQ(none.Publish(), Account::RES_NO_BUFFER);

    Account pub("Pub", &center, 4);
    Account quiet("Quiet", &center);
    Account first("First", &center);
    Account second("Second", &center);
    ASSERT_NE(quiet.Subscribe("Pub"), nullptr);
    ASSERT_NE(first.Subscribe("Pub"), nullptr);
    ASSERT_NE(second.Subscribe("Pub"), nullptr);

    EXPECT_EQ(pub.Publish(), Account::RES_NOTHING_COMMITTED);
    EXPECT_FALSE(pub.Commit("abcd", 0));
    EXPECT_FALSE(pub.Commit("abcde", 5));

    /* No subscriber with a callback: nothing is called and the result is the default. */
    ASSERT_TRUE(pub.Commit("abcd", 4));
    EXPECT_EQ(pub.Publish(), Account::RES_FAILED);

    first.SetEventCallback(RecordingCallback);
    second.SetEventCallback([](Account *, Account::EventParam *param) {
        g_events.push_back({param->event, param->tran, param->recv, {}});
        return -3;
    });

    /* Two commits before a publish: the publish delivers the newer record, once. */
    ASSERT_TRUE(pub.Commit("1111", 4));
    ASSERT_TRUE(pub.Commit("2222", 4));
    EXPECT_EQ(pub.Publish(), -3);
    EXPECT_EQ(pub.Publish(), Account::RES_NOTHING_COMMITTED);

    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events[0].event, Account::EVENT_PUBLISH);
    EXPECT_EQ(g_events[0].tran, &pub);
    EXPECT_EQ(g_events[0].recv, &first);
    EXPECT_EQ(g_events[0].data, std::vector<uint8_t>({'2', '2', '2', '2'}));
    EXPECT_EQ(g_events[1].recv, &second);

    /* A commit made from inside a publish callback is kept for the next publish. */
    g_events.clear();
    static Account *s_pub;
    s_pub = &pub;
    second.SetEventCallback([](Account *, Account::EventParam *param) {
        if (memcmp(param->data_p, "3333", 4) == 0) {
            s_pub->Commit("4444", 4);
        }
        return 0;
    });
    ASSERT_TRUE(pub.Commit("3333", 4));
    EXPECT_EQ(pub.Publish(), 0);
    EXPECT_EQ(pub.Publish(), 0);
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events[0].data, std::vector<uint8_t>({'3', '3', '3', '3'}));
    EXPECT_EQ(g_events[1].data, std::vector<uint8_t>({'4', '4', '4', '4'}));
}

TEST_F(DataCenterTest, DeletingAnAccountUnhooksBothSides) {
    Account sub("Sub", &center);
    Account sink("Sink", &center);
    Account *pub = new Account("Pub", &center, 4);
    pub->SetEventCallback(RecordingCallback);
    ASSERT_NE(sub.Subscribe("Pub"), nullptr);
    ASSERT_NE(pub->Subscribe("Sink"), nullptr);
    EXPECT_EQ(sink.GetSubscribersSize(), 2u);

    delete pub;
    EXPECT_EQ(center.SearchAccount("Pub"), nullptr);
    EXPECT_EQ(sub.GetPublishersSize(), 0u);
    EXPECT_EQ(sink.GetSubscribersSize(), 1u);
    uint32_t value;
    EXPECT_EQ(sub.Pull("Pub", &value, sizeof(value)), Account::RES_NOT_SUBSCRIBED);
    EXPECT_TRUE(g_events.empty());

    /* A deleted subscriber no longer receives publishes. */
    Account src("Src", &center, 4);
    Account *reader = new Account("Reader", &center);
    reader->SetEventCallback(RecordingCallback);
    ASSERT_NE(reader->Subscribe("Src"), nullptr);
    delete reader;
    ASSERT_TRUE(src.Commit("abcd", 4));
    EXPECT_EQ(src.Publish(), Account::RES_FAILED);
    EXPECT_TRUE(g_events.empty());
}

TEST_F(DataCenterTest, CenterDeletesPooledAccounts) {
    auto *local = new DataCenter("LOCAL");
    auto *a = new Account("A", local, 8);
    auto *b = new Account("B", local);
    ASSERT_NE(b->Subscribe("A"), nullptr);
    a->SetTimerPeriod(10);
    EXPECT_EQ(local->GetAccountLen(), 2u);
    delete local; /* frees both accounts, their buffer and timer (checked by the sanitizers) */
}

TEST_F(DataCenterTest, TimerEventsFollowPeriodAndEnable) {
    Account acc("Timed", &center);
    acc.SetEventCallback(RecordingCallback);
    acc.SetTimerEnable(true); /* no timer yet: nothing happens */
    acc.SetTimerPeriod(100);

    for (int i = 0; i < 10; i++) {
        lv_tick_inc(50);
        lv_timer_handler();
    }
    ASSERT_GE(g_events.size(), 4u);
    ASSERT_LE(g_events.size(), 5u);
    EXPECT_EQ(g_events[0].event, Account::EVENT_TIMER);
    EXPECT_EQ(g_events[0].tran, &acc);
    EXPECT_EQ(g_events[0].recv, &acc);
    EXPECT_TRUE(g_events[0].data.empty());

    g_events.clear();
    acc.SetTimerEnable(false);
    for (int i = 0; i < 10; i++) {
        lv_tick_inc(50);
        lv_timer_handler();
    }
    EXPECT_TRUE(g_events.empty());

    acc.SetTimerEnable(true);
    lv_tick_inc(1);
    lv_timer_handler();
    EXPECT_EQ(g_events.size(), 1u);

    g_events.clear();
    acc.SetTimerPeriod(0);
    for (int i = 0; i < 10; i++) {
        lv_tick_inc(50);
        lv_timer_handler();
    }
    EXPECT_TRUE(g_events.empty());
}

TEST(DataCenterGlobal, CenterIsNamedCenter) {
    DataCenter *center = DataProc_GetCenter();
    ASSERT_NE(center, nullptr);
    EXPECT_STREQ(center->Name, "CENTER");
    EXPECT_STREQ(center->mainAccount.ID, "CENTER");
    EXPECT_EQ(DataProc_GetCenter(), center);
}

} // namespace
