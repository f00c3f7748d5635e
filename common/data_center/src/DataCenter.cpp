#include "DataCenter.h"

#include <string.h>

#include <algorithm>

/* The program's one data center; accounts are created in it at start. */
static DataCenter s_center("CENTER");

DataCenter *DataProc_GetCenter() {
    return &s_center;
}

static bool RemoveFrom(std::vector<Account *> &vec, Account *account) {
    auto it = std::find(vec.begin(), vec.end(), account);
    if (it == vec.end()) {
        return false;
    }
    vec.erase(it);
    return true;
}

DataCenter::DataCenter(const char *name) : Name(name), mainAccount(name, this, 0, nullptr) {}

DataCenter::~DataCenter() {
    /* Each account leaves the pool in its destructor. */
    while (!accounts.empty()) {
        delete accounts.back();
    }
}

bool DataCenter::AddAccount(Account *account) {
    if (account == nullptr || account == &mainAccount) {
        return false;
    }
    if (SearchAccount(account->ID) != nullptr) {
        return false;
    }
    accounts.push_back(account);
    mainAccount.Subscribe(account->ID);
    return true;
}

bool DataCenter::RemoveAccount(Account *account) {
    return RemoveFrom(accounts, account);
}

Account *DataCenter::SearchAccount(const char *name) const {
    if (name == nullptr) {
        return nullptr;
    }
    for (Account *account : accounts) {
        if (strcmp(account->ID, name) == 0) {
            return account;
        }
    }
    return nullptr;
}

/* ---- Account ---- */

Account::Account(const char *id, DataCenter *center, uint32_t bufSize, void *userData)
    : ID(id), Center(center), UserData(userData) {
    if (bufSize > 0) {
        if (!buffer.Init(bufSize)) {
            return;
        }
        BufferSize = bufSize;
    }
    if (Center != nullptr) {
        Center->AddAccount(this);
    }
}

Account::~Account() {
    if (timer != nullptr) {
        lv_timer_del(timer);
        timer = nullptr;
    }

    /* Subscribers forget this account as a publisher ... */
    for (Account *sub : subscribers) {
        RemoveFrom(sub->publishers, this);
    }
    subscribers.clear();

    /* ... and the publishers forget it as a subscriber. */
    for (Account *pub : publishers) {
        RemoveFrom(pub->subscribers, this);
    }
    publishers.clear();

    if (Center != nullptr) {
        Center->RemoveAccount(this);
    }
}

Account *Account::FindPublisher(const char *pubName) const {
    if (pubName == nullptr) {
        return nullptr;
    }
    for (Account *pub : publishers) {
        if (strcmp(pub->ID, pubName) == 0) {
            return pub;
        }
    }
    return nullptr;
}

Account *Account::Subscribe(const char *pubName) {
    if (pubName == nullptr || Center == nullptr || strcmp(pubName, ID) == 0) {
        return nullptr;
    }
    if (FindPublisher(pubName) != nullptr) {
        return nullptr;
    }
    Account *pub = Center->SearchAccount(pubName);
    if (pub == nullptr) {
        return nullptr;
    }
    publishers.push_back(pub);
    pub->subscribers.push_back(this);
    return pub;
}

bool Account::Unsubscribe(const char *pubName) {
    Account *pub = FindPublisher(pubName);
    if (pub == nullptr) {
        return false;
    }
    RemoveFrom(publishers, pub);
    RemoveFrom(pub->subscribers, this);
    return true;
}

bool Account::Commit(const void *data, uint32_t size) {
    if (data == nullptr || size == 0 || size != BufferSize) {
        return false;
    }
    void *block = buffer.GetWriteBuf();
    memcpy(block, data, size);
    buffer.WriteDone();
    return true;
}

int Account::Publish() {
    if (BufferSize == 0) {
        return RES_NO_BUFFER;
    }
    void *block = buffer.GetReadBuf();
    if (block == nullptr) {
        return RES_NOTHING_COMMITTED;
    }

    EventParam param = {EVENT_PUBLISH, this, nullptr, block, BufferSize};
    int ret = RES_FAILED;
    /* A callback may subscribe or unsubscribe; walk a copy of the list. */
    const std::vector<Account *> targets = subscribers;
    for (Account *sub : targets) {
        if (sub->eventCallback == nullptr) {
            continue;
        }
        param.recv = sub;
        ret = sub->eventCallback(sub, &param);
    }
    buffer.ReadDone();
    return ret;
}

int Account::Pull(const char *pubName, void *data, uint32_t size) {
    Account *pub = FindPublisher(pubName);
    if (pub == nullptr) {
        return RES_NOT_SUBSCRIBED;
    }
    if (pub->eventCallback != nullptr) {
        EventParam param = {EVENT_PULL, this, pub, data, size};
        return pub->eventCallback(pub, &param);
    }
    if (data != nullptr && size == pub->BufferSize && size > 0) {
        void *block = pub->buffer.GetReadBuf();
        if (block != nullptr) {
            memcpy(data, block, size);
            pub->buffer.ReadDone();
            return RES_OK;
        }
    }
    return RES_FAILED;
}

int Account::Notify(const char *pubName, const void *data, uint32_t size) {
    Account *pub = FindPublisher(pubName);
    if (pub == nullptr) {
        return RES_NOT_SUBSCRIBED;
    }
    if (pub->eventCallback == nullptr) {
        return RES_NO_CALLBACK;
    }
    EventParam param = {EVENT_NOTIFY, this, pub, const_cast<void *>(data), size};
    return pub->eventCallback(pub, &param);
}

void Account::SetEventCallback(EventCallback_t callback) {
    eventCallback = callback;
}

void Account::TimerCallbackWrapper(lv_timer_t *tmr) {
    Account *self = static_cast<Account *>(tmr->user_data);
    if (self->eventCallback == nullptr) {
        return;
    }
    EventParam param = {EVENT_TIMER, self, self, nullptr, 0};
    self->eventCallback(self, &param);
}

void Account::SetTimerPeriod(uint32_t period) {
    if (timer != nullptr) {
        lv_timer_del(timer);
        timer = nullptr;
    }
    if (period > 0) {
        timer = lv_timer_create(TimerCallbackWrapper, period, this);
    }
}

void Account::SetTimerEnable(bool en) {
    if (timer == nullptr) {
        return;
    }
    if (en) {
        lv_timer_resume(timer);
    } else {
        lv_timer_pause(timer);
    }
}
