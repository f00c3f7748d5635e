// The shared library as the framework sees it: loaded with dlopen, only its interface exported.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "audio_plugin.h"

TEST(RecordPlugin, ExportsTheGettersAndHidesTheRest) {
    void *lib = dlopen(VQE_RECORD_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto vx = reinterpret_cast<audio_get_handle_fn>(dlsym(lib, "vx_vqe_record_get_handle"));
    auto kq = reinterpret_cast<audio_get_handle_fn>(dlsym(lib, "kq_vqe_record_get_handle"));
    ASSERT_NE(vx, nullptr);
    ASSERT_NE(kq, nullptr);
    EXPECT_EQ(vx(), kq());
    EXPECT_STREQ(vx()->name, "record");
    for (const char *name :
         {"zorvo_record_init", "zorvo_record_apply", "zorvo_record_set_params", "zorvo_record_get_params",
          "zorvo_record_get_version", "zorvo_record_get_size", "g_record_params", "g_zorvo_record_params",
          "record_record_zorvo_drc_apply", "record_record_zorvo_hdr_apply",
          "record_record_zorvo_eq_fir_apply", "record_record_zorvo_se_drc_apply"}) {
        EXPECT_NE(dlsym(lib, name), nullptr) << name;
    }
    for (const char *name : {"audio_log", "audio_eq_design", "rec_log2_q15", "audio_block_alloc",
                             "vqe_record_build_params", "record_zorvo_fft_init"}) {
        EXPECT_EQ(dlsym(lib, name), nullptr) << name << " should be hidden";
    }
    dlclose(lib);
}
