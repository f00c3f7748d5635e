/*
 * bench_uifw: the cost of one text lookup on the full language file, with the parsed file kept
 * (the normal case) and with the file re-read every time (its modification time is changed
 * before each lookup); the cost of a push/pop pair without animation; and the heap taken by the
 * data center's nine accounts.
 */
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "DataCenter.h"
#include "PageManager.h"
#include "lv_label_ext_func.h"
#include "lvgl.h"

namespace {

const char *const kCodes[16] = {"CN", "TW", "US", "RU", "ES", "HL", "TH", "PL",
                                "AR", "VN", "JP", "PT", "GE", "FR", "SK", "TU"};

/* The built language file if there is one, else one of the same shape: 300 ids x 16 languages. */
std::string PrepareLangFile() {
    std::ifstream built(BENCH_BUILT_LANG, std::ios::binary);
    std::string text;
    std::string source;
    if (built) {
        std::stringstream ss;
        ss << built.rdbuf();
        text = ss.str();
        source = BENCH_BUILT_LANG;
    } else {
        std::ostringstream os;
        os << "{";
        for (int id = 0; id < 300; id++) {
            os << (id ? "," : "") << "\n\"LANG_RES_ID_TEXT_" << id << "\":{";
            for (int c = 0; c < 16; c++) {
                os << (c ? "," : "") << "\"" << kCodes[c] << "\":\"Text number " << id << " in language "
                   << kCodes[c] << " 文字\"";
            }
            os << "}";
        }
        os << "}\n";
        text = os.str();
        source = "generated";
    }
    std::ofstream out(LANG_FILE_PATH, std::ios::binary);
    out << text;
    return source + " (" + std::to_string(text.size()) + " bytes)";
}

/* An id that exists in the file: the last member, so that the lookup walks the whole object. */
std::string LastId() {
    std::ifstream in(LANG_FILE_PATH, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    size_t pos = text.rfind("\"LANG_RES_ID_");
    size_t end = text.find('"', pos + 1);
    return text.substr(pos + 1, end - pos - 1);
}

void LvglUp() {
    static bool s_up = false;
    if (s_up) {
        return;
    }
    s_up = true;
    lv_init();
    static lv_disp_draw_buf_t s_drawBuf;
    static lv_color_t s_buf[320 * 170];
    lv_disp_draw_buf_init(&s_drawBuf, s_buf, nullptr, 320 * 170);
    static lv_disp_drv_t s_drv;
    lv_disp_drv_init(&s_drv);
    s_drv.hor_res = 320;
    s_drv.ver_res = 170;
    s_drv.draw_buf = &s_drawBuf;
    s_drv.flush_cb = [](lv_disp_drv_t *drv, const lv_area_t *, lv_color_t *) { lv_disp_flush_ready(drv); };
    lv_disp_drv_register(&s_drv);
}

void BM_SetTextTr(benchmark::State &state) {
    const bool reread = state.range(0) != 0;
    static std::string s_source = PrepareLangFile();
    LvglUp();
    Lang_SetCode("US");
    std::string id = LastId();
    lv_obj_t *label = lv_label_create(lv_scr_act());
    long stamp = 1;
    for (auto _ : state) {
        if (reread) {
            struct timespec times[2] = {{0, UTIME_OMIT}, {1000000 + stamp++, 0}};
            utimensat(AT_FDCWD, LANG_FILE_PATH, times, 0);
        }
        if (lv_label_set_text_tr(label, id.c_str()) != 0) {
            state.SkipWithError("lookup failed");
            break;
        }
    }
    state.SetLabel(std::string(reread ? "re-read each time, " : "kept, ") + s_source);
    lv_obj_del(label);
}
BENCHMARK(BM_SetTextTr)->Arg(0)->Arg(1)->ArgName("reread");

class BenchPage : public PageBase {};

class BenchFactory : public PageFactory {
  public:
    PageBase *CreatePage(const char *) override { return new BenchPage; }
};

void BM_PushPopNone(benchmark::State &state) {
    LvglUp();
    BenchFactory factory;
    PageManager manager(&factory);
    manager.SetGlobalLoadAnimType(PageManager::LOAD_ANIM_NONE);
    manager.Install("Bottom", "Pages/Bottom");
    manager.Install("Top", "Pages/Top");
    manager.Push("Pages/Bottom");
    /* A switch without animation finishes in the first handler run after the animation timer is due. */
    auto finish = [] {
        lv_tick_inc(30);
        lv_timer_handler();
    };
    finish();
    int failures = 0;
    for (auto _ : state) {
        failures += manager.Push("Pages/Top") == nullptr;
        finish();
        failures += manager.Pop() == nullptr;
        finish();
    }
    if (failures != 0) {
        state.SkipWithError("a push or pop was refused");
    }
    state.SetLabel("push + pop, each followed by the handler run that completes it");
}
BENCHMARK(BM_PushPopNone);

int NoopCallback(Account *, Account::EventParam *) {
    return 0;
}

/* Heap taken by the nine accounts the data processors create at start, with their buffers,
 * subscriptions and timers. */
void BM_DataCenterMemory(benchmark::State &state) {
    LvglUp();
    size_t bytes = 0;
    for (auto _ : state) {
        size_t before = mallinfo2().uordblks;
        DataCenter *center = new DataCenter("CENTER");
        struct {
            const char *name;
            uint32_t buf;
            uint32_t period;
        } rows[] = {{"GeneralSeting", 0, 0}, {"Player", 12, 10},    {"SystemStatus", 140, 10},
                    {"StatusBar", 0, 1000},  {"GeneralCtrl", 0, 0}, {"DevsInfo", 0, 0},
                    {"InfoTips", 0, 2100},   {"KovarInfo", 0, 0},   {"LteInfo", 0, 0}};
        for (auto &row : rows) {
            Account *account = new Account(row.name, center, row.buf);
            account->SetEventCallback(NoopCallback);
            if (row.period != 0) {
                account->SetTimerPeriod(row.period);
            }
        }
        center->SearchAccount("Player")->SetTimerEnable(false);
        center->SearchAccount("GeneralSeting")->Subscribe("SystemStatus");
        center->SearchAccount("StatusBar")->Subscribe("GeneralSeting");
        center->SearchAccount("StatusBar")->Subscribe("SystemStatus");
        center->SearchAccount("InfoTips")->Subscribe("SystemStatus");
        center->SearchAccount("InfoTips")->Subscribe("StatusBar");
        bytes = mallinfo2().uordblks - before;
        delete center;
    }
    state.counters["heap_bytes"] = (double)bytes;
    state.counters["sizeof_Account"] = (double)sizeof(Account);
}
BENCHMARK(BM_DataCenterMemory)->Iterations(1);

} // namespace

int main(int argc, char **argv) {
    /* Heap figures come from mallinfo2, which counts chunks parked in the thread cache as in use:
     * run without that cache, so that the figure is what the accounts really take. */
    if (getenv("BENCH_UIFW_NO_TCACHE") == nullptr) {
        setenv("BENCH_UIFW_NO_TCACHE", "1", 1);
        setenv("GLIBC_TUNABLES", "glibc.malloc.tcache_count=0", 1);
        execv("/proc/self/exe", argv);
    }
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
