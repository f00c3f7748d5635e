#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vqe_host.h"

static const vqe_host_plugin *const plugins[] = {
#define VQE_HOST_PLUGIN(id) &vqe_host_plugin_##id,
#include "plugins.def"
#undef VQE_HOST_PLUGIN
};
#define PLUGIN_COUNT (sizeof(plugins) / sizeof(plugins[0]))

static void usage(FILE *to) {
    fprintf(to, "usage: vqe_host LIB.so --in IN.wav --out OUT.wav [--frame N] [options]\n"
                "Loads an audio plug-in library, takes its module record from its getter and runs\n"
                "IN.wav through init, process (one buffer of N frames per call) and deinit.\n"
                "Input must be 16-bit PCM WAV.\n\n"
                "  --in FILE     input WAV\n"
                "  --out FILE    output WAV\n"
                "  --frame N     frames per process call (default: the library's usual buffer)\n"
                "  --help        this text\n");
    for (size_t p = 0; p < PLUGIN_COUNT; p++) {
        fprintf(to, "\n%s (module \"%s\"):\n", plugins[p]->library, plugins[p]->module);
        for (const vqe_host_option *o = plugins[p]->options; o->name != NULL; o++) {
            char left[64];
            snprintf(left, sizeof(left), "--%s%s%s", o->name, o->arg ? " " : "", o->arg ? o->arg : "");
            fprintf(to, "  %-22s %s\n", left, o->help);
        }
    }
}

int vqe_host_parse_int(const char *option, const char *text, long min, long max, long *value) {
    char *end = NULL;
    errno = 0;
    long v = strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < min || v > max) {
        fprintf(stderr, "vqe_host: --%s needs a whole number from %ld to %ld, not \"%s\"\n", option, min, max,
                text);
        return -1;
    }
    *value = v;
    return 0;
}

int16_t *vqe_host_out_reserve(vqe_host_run *run, size_t frames) {
    size_t ch = (size_t)run->out_channels;
    if (frames > SIZE_MAX / 4 / ch || run->out_frames > SIZE_MAX / 4 / ch - frames) {
        return NULL;
    }
    if (run->out_frames + frames > run->out_cap) {
        size_t cap = run->out_cap ? run->out_cap : 4096;
        while (cap < run->out_frames + frames) {
            cap *= 2;
        }
        int16_t *grown = realloc(run->out, cap * ch * sizeof(int16_t));
        if (grown == NULL) {
            return NULL;
        }
        run->out = grown;
        run->out_cap = cap;
    }
    return run->out + run->out_frames * ch;
}

void vqe_host_out_commit(vqe_host_run *run, size_t frames) {
    run->out_frames += frames;
}

typedef struct given_option {
    const char *name;
    const char *value;
} given_option;

/* First option of that name among all plug-ins (to know whether it takes a value). */
static const vqe_host_option *find_any_option(const char *name) {
    for (size_t p = 0; p < PLUGIN_COUNT; p++) {
        for (const vqe_host_option *o = plugins[p]->options; o->name != NULL; o++) {
            if (strcmp(o->name, name) == 0) {
                return o;
            }
        }
    }
    return NULL;
}

static int plugin_has_option(const vqe_host_plugin *plugin, const char *name) {
    for (const vqe_host_option *o = plugin->options; o->name != NULL; o++) {
        if (strcmp(o->name, name) == 0) {
            return 1;
        }
    }
    return 0;
}

static int run_plugin(const vqe_host_plugin *plugin, vqe_host_run *run, long frame_opt,
                      const char *out_path) {
    if (plugin->setup(run) != 0) {
        return -1;
    }
    if (frame_opt > 0) {
        run->frame = (size_t)frame_opt;
    }
    if (run->frame == 0) {
        fprintf(stderr, "vqe_host: no buffer size for this library; give --frame N\n");
        return -1;
    }
    void *handle = NULL;
    int rc = run->module->init(&handle, run->init_rate, &run->cfg);
    if (rc != 0) {
        fprintf(stderr, "vqe_host: %s init failed (%d) for %d Hz\n", plugin->library, rc, run->init_rate);
        return -1;
    }
    int failed = 0;
    for (size_t at = 0; at < run->in.frames && !failed; at += run->frame) {
        size_t n = run->in.frames - at < run->frame ? run->in.frames - at : run->frame;
        failed = plugin->process(run, handle, at, n) != 0;
    }
    rc = run->module->deinit(handle);
    if (rc != 0) {
        fprintf(stderr, "vqe_host: %s deinit returned %d\n", plugin->library, rc);
        failed = 1;
    }
    if (failed) {
        return -1;
    }
    if (wav_write(out_path, run->out_rate, run->out_channels, run->out, run->out_frames) != 0) {
        fprintf(stderr, "vqe_host: cannot write %s: %s\n", out_path, strerror(errno));
        return -1;
    }
    printf("vqe_host: %s: %zu frames at %d Hz -> %s: %zu frames at %d Hz, %d channel(s)\n", plugin->library,
           run->in.frames, run->in.rate, out_path, run->out_frames, run->out_rate, run->out_channels);
    return 0;
}

int main(int argc, char **argv) {
    const char *lib_path = NULL, *in_path = NULL, *out_path = NULL;
    long frame_opt = 0;
    given_option *given = calloc((size_t)argc + 1, sizeof(*given));
    size_t given_count = 0;
    if (given == NULL) {
        fprintf(stderr, "vqe_host: out of memory\n");
        return 1;
    }
    for (int i = 1; i < argc; i++) {
        const char *a = argv[i];
        if (strncmp(a, "--", 2) != 0) {
            if (lib_path != NULL) {
                fprintf(stderr, "vqe_host: more than one library given (%s, %s)\n", lib_path, a);
                free(given);
                return 2;
            }
            lib_path = a;
            continue;
        }
        const char *name = a + 2;
        if (strcmp(name, "help") == 0) {
            usage(stdout);
            free(given);
            return 0;
        }
        int known_host = strcmp(name, "in") == 0 || strcmp(name, "out") == 0 || strcmp(name, "frame") == 0;
        const vqe_host_option *opt = known_host ? NULL : find_any_option(name);
        if (!known_host && opt == NULL) {
            fprintf(stderr, "vqe_host: unknown option %s (see --help)\n", a);
            free(given);
            return 2;
        }
        const char *value = NULL;
        if (known_host || opt->arg != NULL) {
            if (i + 1 >= argc) {
                fprintf(stderr, "vqe_host: %s needs a value\n", a);
                free(given);
                return 2;
            }
            value = argv[++i];
        }
        if (strcmp(name, "in") == 0) {
            in_path = value;
        } else if (strcmp(name, "out") == 0) {
            out_path = value;
        } else if (strcmp(name, "frame") == 0) {
            if (vqe_host_parse_int("frame", value, 1, 1 << 20, &frame_opt) != 0) {
                free(given);
                return 2;
            }
        } else {
            given[given_count].name = name;
            given[given_count].value = value;
            given_count++;
        }
    }
    if (lib_path == NULL || in_path == NULL || out_path == NULL) {
        usage(stderr);
        free(given);
        return 2;
    }

    vqe_host_run run;
    memset(&run, 0, sizeof(run));
    char why[512];
    if (wav_read(in_path, &run.in, why, sizeof(why)) != 0) {
        fprintf(stderr, "vqe_host: %s\n", why);
        free(given);
        return 1;
    }
    run.in_path = in_path;

    /* A path without a slash would make dlopen search the system's library path. */
    char lib_buf[4096];
    if (strchr(lib_path, '/') == NULL) {
        snprintf(lib_buf, sizeof(lib_buf), "./%s", lib_path);
        lib_path = lib_buf;
    }
    void *library = dlopen(lib_path, RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "vqe_host: cannot load %s: %s\n", lib_path, dlerror());
        wav_free(&run.in);
        free(given);
        return 1;
    }
    const vqe_host_plugin *plugin = NULL;
    audio_get_handle_fn getter = NULL;
    for (size_t p = 0; p < PLUGIN_COUNT && plugin == NULL; p++) {
        void *sym = dlsym(library, plugins[p]->getter);
        if (sym != NULL) {
            plugin = plugins[p];
            memcpy(&getter, &sym, sizeof(getter));
        }
    }
    int status = 1;
    if (plugin == NULL) {
        fprintf(stderr, "vqe_host: %s exports none of the known module getters\n", lib_path);
        goto done;
    }
    run.module = getter();
    run.library = library;
    if (run.module == NULL || strncmp(run.module->name, plugin->module, AUDIO_MODULE_NAME_LEN) != 0 ||
        run.module->init == NULL || run.module->process == NULL || run.module->deinit == NULL) {
        fprintf(stderr, "vqe_host: %s: %s gives no usable \"%s\" module record\n", lib_path, plugin->getter,
                plugin->module);
        goto done;
    }
    run.init_rate = run.in.rate;
    run.out_rate = run.in.rate;
    run.out_channels = run.in.channels;
    for (size_t g = 0; g < given_count; g++) {
        if (!plugin_has_option(plugin, given[g].name)) {
            fprintf(stderr, "vqe_host: --%s is not an option of %s\n", given[g].name, plugin->library);
            goto done;
        }
        if (plugin->set_option(&run, given[g].name, given[g].value) != 0) {
            goto done;
        }
    }
    status = run_plugin(plugin, &run, frame_opt, out_path) == 0 ? 0 : 1;
done:
    if (plugin != NULL && plugin->cleanup != NULL) {
        plugin->cleanup(&run);
    }
    dlclose(library);
    free(run.out);
    wav_free(&run.in);
    free(given);
    return status;
}
