/*
 * Page framework: every screen is a page, an object of a class derived from PageBase, created
 * by name through a PageFactory, registered under a page name and shown by pushing it on the
 * page stack of the PageManager. The manager drives each page through its lifecycle callbacks,
 * animates page switches, keeps pages cached or unloads them, hands a stash from the pusher to
 * the pushed page and lets the user drag a page away.
 *
 * Everything runs on the LVGL thread; nothing here takes a lock.
 */
#ifndef PAGE_MANAGER_H
#define PAGE_MANAGER_H

#include <stdint.h>

#include <stack>
#include <vector>

#include "lvgl.h"

class PageManager;

class PageBase {
  public:
    typedef enum {
        PAGE_STATE_IDLE,
        PAGE_STATE_LOAD,
        PAGE_STATE_WILL_APPEAR,
        PAGE_STATE_DID_APPEAR,
        PAGE_STATE_ACTIVITY,
        PAGE_STATE_WILL_DISAPPEAR,
        PAGE_STATE_DID_DISAPPEAR,
        PAGE_STATE_UNLOAD,
        _PAGE_STATE_LAST
    } State_t;

    /* Block of data handed from the pusher to the pushed page. */
    typedef struct {
        void *ptr;
        uint32_t size;
    } Stash_t;

    /* A load animation: Type 0 means the manager's global animation. */
    typedef struct {
        uint8_t Type;
        uint16_t Time;
        lv_anim_path_cb_t Path;
    } AnimAttr_t;

    lv_obj_t *root;       /* the page's root object; null while not loaded */
    PageManager *Manager; /* set by registration */
    const char *Name;     /* page name given at registration (not copied) */
    uint16_t ID;
    void *UserData; /* free for the page */

    /* Owned by the manager; pages change them only through the setters below. */
    struct {
        bool ReqEnableCache;      /* own cache wish, used when automatic caching is off */
        bool ReqDisableAutoCache; /* asks to switch automatic caching off */
        bool IsDisableAutoCache;  /* copy of ReqDisableAutoCache taken at each push */
        bool IsCached;            /* the page keeps its views when it disappears */
        Stash_t Stash;            /* copied in at push, freed at unload */
        State_t State;
        struct {
            bool IsEnter; /* this page is the one coming in */
            bool IsBusy;  /* its switch animation is running */
            AnimAttr_t Attr;
        } Anim;
    } priv;

    PageBase();
    virtual ~PageBase() {}

    virtual void onAttrConfig() {}
    virtual void onViewLoad() {}
    virtual void onViewDidLoad() {}
    virtual void onViewWillAppear() {}
    virtual void onViewDidAppear() {}
    virtual void onViewWillDisappear() {}
    virtual void onViewDidDisappear() {}
    virtual void onViewDidUnload() {}

    void SetAutoCacheEnable(bool en);
    void SetCacheEnable(bool en);
    void SetLoadAnim(uint8_t anim, uint16_t time = 500, lv_anim_path_cb_t path = lv_anim_path_ease_out);
    /* Copies the page's stash into dst if it holds one of exactly size bytes. */
    bool StashRead(void *ptr, uint32_t size);
};

class PageFactory {
  public:
    virtual ~PageFactory() {}
    /* A new page of the class called name, or null. */
    virtual PageBase *CreatePage(const char *name) = 0;
};

class PageManager {
  public:
    typedef enum {
        LOAD_ANIM_GLOBAL = 0,
        LOAD_ANIM_OVER_LEFT,
        LOAD_ANIM_OVER_RIGHT,
        LOAD_ANIM_OVER_TOP,
        LOAD_ANIM_OVER_BOTTOM,
        LOAD_ANIM_MOVE_LEFT,
        LOAD_ANIM_MOVE_RIGHT,
        LOAD_ANIM_MOVE_TOP,
        LOAD_ANIM_MOVE_BOTTOM,
        LOAD_ANIM_FADE_ON,
        LOAD_ANIM_NONE,
        _LOAD_ANIM_LAST = LOAD_ANIM_NONE
    } LoadAnim_t;

    typedef enum {
        ROOT_DRAG_DIR_NONE,
        ROOT_DRAG_DIR_HOR,
        ROOT_DRAG_DIR_VER,
    } RootDragDir_t;

    typedef void (*lv_anim_setter_t)(void *obj, int32_t value);
    typedef int32_t (*lv_anim_getter_t)(void *obj);

    /* Start and end values of one movement. */
    typedef struct {
        int32_t start;
        int32_t end;
    } AnimValue_t;

    /* What one load animation type does (see the value table in PM_Anim). */
    typedef struct {
        lv_anim_setter_t setter;
        lv_anim_getter_t getter;
        RootDragDir_t dragDir;
        struct {
            AnimValue_t enter;
            AnimValue_t exit;
        } push, pop;
    } LoadAnimAttr_t;

    explicit PageManager(PageFactory *factory = nullptr);
    /* Uninstalls every installed page. */
    ~PageManager();
    PageManager(const PageManager &) = delete;
    PageManager &operator=(const PageManager &) = delete;

    /* Loader */
    PageBase *Install(const char *className, const char *appName);
    bool Uninstall(const char *appName);
    bool Register(PageBase *base, const char *name);
    bool Unregister(const char *name);

    /* Router */
    PageBase *Push(const char *name, const PageBase::Stash_t *stash = nullptr);
    PageBase *Pop();
    bool PopToBottom();
    void SetStackClear(bool keepBottom = false);
    PageBase *GetStackTop();
    PageBase *GetStackTopAfter();
    PageBase *FindPageInPool(const char *name);
    PageBase *FindPageInStack(const char *name);
    const char *GetPagePrevName();

    /* Animation */
    void SetGlobalLoadAnimType(uint8_t anim = LOAD_ANIM_OVER_LEFT, uint16_t time = 500,
                               lv_anim_path_cb_t path = lv_anim_path_ease_out);
    bool GetCurrentLoadAnimAttr(LoadAnimAttr_t *attr);
    /* Fills attr for a load animation type 1..10; false (and a log line) for any other. */
    bool GetLoadAnimAttr(uint8_t anim, LoadAnimAttr_t *attr);

    /* Drag */
    void RootEnableDrag(lv_obj_t *root);

  private:
    /* Router */
    bool SwitchTo(PageBase *newNode, bool isPushAct, const PageBase::Stash_t *stash = nullptr);
    bool SwitchAnimStateCheck();
    bool SwitchReqCheck();
    void SwitchAnimCreate(PageBase *base);
    void SwitchAnimTypeUpdate(PageBase *base);
    bool FourceUnload(PageBase *base);
    void RemovePageFromStack(const char *name);
    static void onSwitchAnimFinish(lv_anim_t *a);

    /* State */
    void StateUpdate(PageBase *base);
    PageBase::State_t StateLoadExecute(PageBase *base);
    PageBase::State_t StateWillAppearExecute(PageBase *base);
    PageBase::State_t StateDidAppearExecute(PageBase *base);
    PageBase::State_t StateWillDisappearExecute(PageBase *base);
    PageBase::State_t StateDidDisappearExecute(PageBase *base);
    PageBase::State_t StateUnloadExecute(PageBase *base);

    /* Drag */
    static void onRootDragEvent(lv_event_t *event);
    static void onRootAnimFinish(lv_anim_t *a);
    static void onRootAsyncLeave(void *data);

    PageFactory *Factory;
    std::vector<PageBase *> PagePool;
    std::stack<PageBase *> PageStack;
    PageBase *PagePrev;
    PageBase *PageCurrent;

    struct {
        bool IsSwitchReq; /* a switch is in progress */
        bool IsBusy;      /* a drag-release animation of a root is running */
        bool IsPushing;   /* the switch in progress is a push (false: pop) */
        PageBase::AnimAttr_t Current;
        PageBase::AnimAttr_t Global;
    } AnimState;
};

#endif /* PAGE_MANAGER_H */
