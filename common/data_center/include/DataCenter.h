/*
 * Data center: the publish/subscribe hub between the data processors and the page models.
 *
 * Every participant owns an Account with a unique name. An account subscribes to other accounts
 * by name; it can then pull data from them, notify them (send requests) and receive what they
 * publish. All traffic is a synchronous call on the caller's thread (the LVGL thread); nothing is
 * copied or queued except through an account's optional double buffer.
 */
#ifndef DATA_CENTER_H
#define DATA_CENTER_H

#include <stdint.h>
#include <vector>

#include "lvgl.h"

class DataCenter;

/* Two blocks of one published record in one allocation, so that a commit never overwrites the
 * block a reader may still be using. */
class DoubleBuffer {
  public:
    DoubleBuffer() = default;
    ~DoubleBuffer();
    DoubleBuffer(const DoubleBuffer &) = delete;
    DoubleBuffer &operator=(const DoubleBuffer &) = delete;

    /* Allocates two zeroed blocks of blockSize bytes from LVGL's heap; false if that fails. */
    bool Init(uint32_t blockSize);
    void *GetWriteBuf();
    void WriteDone();
    /* Block 0 if it is readable, else block 1 if readable, else null. */
    void *GetReadBuf();
    void ReadDone();

  private:
    uint8_t *m_pBlocks = nullptr;
    uint32_t m_u32BlockSize = 0;
    uint8_t m_u8WriteIndex = 0;
    uint8_t m_u8ReadIndex = 0;
    bool m_bReadable[2] = {false, false};
};

class Account {
  public:
    enum EventCode {
        EVENT_NONE = 0,
        EVENT_PUBLISH = 1,
        EVENT_PULL = 2,
        EVENT_NOTIFY = 3,
        EVENT_TIMER = 4,
    };

    enum ResCode {
        RES_OK = 0,
        RES_FAILED = -1,
        RES_SIZE_MISMATCH = -2,
        RES_UNSUPPORTED = -3,
        RES_NO_CALLBACK = -4,
        RES_NO_BUFFER = -5,
        RES_NOTHING_COMMITTED = -6,
        RES_NOT_SUBSCRIBED = -7,
    };

    /* Lives on the caller's stack; valid only during the callback. */
    struct EventParam {
        int event;
        Account *tran; /* the account that causes the event */
        Account *recv; /* the account whose callback runs */
        void *data_p;  /* publish: the block; pull: destination; notify: request; timer: null */
        uint32_t size;
    };

    typedef int (*EventCallback_t)(Account *account, EventParam *param);

    /* Adds itself to center. With bufSize > 0 the double buffer is allocated first; if that
     * fails the account has no buffer and is not added to the center. */
    Account(const char *id, DataCenter *center, uint32_t bufSize = 0, void *userData = nullptr);
    /* Unhooks both sides of every subscription, frees the buffer and timer, leaves the center. */
    ~Account();
    Account(const Account &) = delete;
    Account &operator=(const Account &) = delete;

    Account *Subscribe(const char *pubName);
    bool Unsubscribe(const char *pubName);
    bool Commit(const void *data, uint32_t size);
    int Publish();
    int Pull(const char *pubName, void *data, uint32_t size);
    int Notify(const char *pubName, const void *data, uint32_t size);

    void SetEventCallback(EventCallback_t callback);
    void SetTimerPeriod(uint32_t period);
    void SetTimerEnable(bool en);

    uint32_t GetPublishersSize() const { return (uint32_t)publishers.size(); }
    uint32_t GetSubscribersSize() const { return (uint32_t)subscribers.size(); }

    const char *ID;
    DataCenter *Center;
    void *UserData;

  private:
    Account *FindPublisher(const char *pubName) const;
    static void TimerCallbackWrapper(lv_timer_t *timer);

    std::vector<Account *> publishers;
    std::vector<Account *> subscribers;
    EventCallback_t eventCallback = nullptr;
    lv_timer_t *timer = nullptr;
    DoubleBuffer buffer;
    uint32_t BufferSize = 0;

    friend class DataCenter;
};

class DataCenter {
  public:
    explicit DataCenter(const char *name);
    /* Deletes every account still in the pool. */
    ~DataCenter();
    DataCenter(const DataCenter &) = delete;
    DataCenter &operator=(const DataCenter &) = delete;

    /* Refuses the main account and a name already present; the main account subscribes to
     * every account added. */
    bool AddAccount(Account *account);
    bool RemoveAccount(Account *account);
    Account *SearchAccount(const char *name) const;
    uint32_t GetAccountLen() const { return (uint32_t)accounts.size(); }

  private:
    /* Declared before mainAccount: it is built before and destroyed after it. */
    std::vector<Account *> accounts;

  public:
    const char *Name;
    Account mainAccount;
};

/* The one data center of the program, "CENTER", built before main runs. */
DataCenter *DataProc_GetCenter();

#endif /* DATA_CENTER_H */
