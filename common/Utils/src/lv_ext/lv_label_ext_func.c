/* Texts by id, per-label FreeType fonts, resource paths and small view helpers. */
#include "lv_label_ext_func.h"

#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "cJSON.h"
#include "log.h"
#include "res_fonts.h"
#include "sys_paths.h"

/* The language file; a test build may point it elsewhere. */
#ifndef LANG_FILE_PATH
#define LANG_FILE_PATH SYS_PATH_LANG_JSON
#endif

/* Lines of the text lookup carry the name of the public function that was called. */
#define EXT_LOG(level, func, ...) log_message(level, LOG_MODULE, LOG_FILE_NAME, func, __LINE__, __VA_ARGS__)
#define EXT_LOG_ERROR(func, ...)  EXT_LOG(LOG_LEVEL_ERROR, func, __VA_ARGS__)
#define EXT_LOG_INFO(func, ...)   EXT_LOG(LOG_LEVEL_INFO, func, __VA_ARGS__)

#define RES_PATH_LEN 256

/* ---- Language code and language file ---- */

static char s_szLangCode[LANG_CODE_LEN] = "CN";

/*
 * The parsed language file, kept while the file stays the same: before each use the file's
 * identity, size and times are compared with those it had when it was read, and a changed file
 * is read again. The lock makes lookups safe from any thread.
 */
typedef struct {
    pthread_mutex_t lock;
    cJSON *pstDoc;
    dev_t dev;
    ino_t ino;
    off_t size;
    struct timespec mtime;
    struct timespec ctime;
} LangCache;

static LangCache s_stLang = {PTHREAD_MUTEX_INITIALIZER, NULL, 0, 0, 0, {0, 0}, {0, 0}};

void Lang_SetCode(const char *code) {
    if (code == NULL) {
        return;
    }
    pthread_mutex_lock(&s_stLang.lock);
    memset(s_szLangCode, 0, sizeof(s_szLangCode));
    strncpy(s_szLangCode, code, sizeof(s_szLangCode) - 1);
    pthread_mutex_unlock(&s_stLang.lock);
}

const char *Lang_GetCode(void) {
    return s_szLangCode;
}

bool Lang_CodeContains(const char *pattern) {
    if (pattern == NULL) {
        return false;
    }
    return strstr(s_szLangCode, pattern) != NULL;
}

static bool LangCacheIsCurrent(const struct stat *st) {
    return s_stLang.pstDoc != NULL && s_stLang.dev == st->st_dev && s_stLang.ino == st->st_ino &&
           s_stLang.size == st->st_size && s_stLang.mtime.tv_sec == st->st_mtim.tv_sec &&
           s_stLang.mtime.tv_nsec == st->st_mtim.tv_nsec && s_stLang.ctime.tv_sec == st->st_ctim.tv_sec &&
           s_stLang.ctime.tv_nsec == st->st_ctim.tv_nsec;
}

static void LangCacheDrop(void) {
    cJSON_Delete(s_stLang.pstDoc);
    s_stLang.pstDoc = NULL;
}

/* Reads and parses the whole file; the parsed document, or NULL after logging why. */
static cJSON *LangFileParse(const char *func, FILE *fp) {
    if (fseek(fp, 0, SEEK_END) != 0) {
        EXT_LOG_ERROR(func, "fread error\n");
        return NULL;
    }
    long len = ftell(fp);
    if (len < 0 || fseek(fp, 0, SEEK_SET) != 0) {
        EXT_LOG_ERROR(func, "fread error\n");
        return NULL;
    }
    char *pcBuf = calloc(1, (size_t)len + 1);
    if (pcBuf == NULL) {
        EXT_LOG_ERROR(func, "malloc fail\n");
        return NULL;
    }
    if (fread(pcBuf, 1, (size_t)len, fp) != (size_t)len) {
        EXT_LOG_ERROR(func, "fread error\n");
        free(pcBuf);
        return NULL;
    }
    cJSON *pstDoc = cJSON_ParseWithLength(pcBuf, (size_t)len);
    free(pcBuf);
    if (pstDoc == NULL) {
        EXT_LOG_ERROR(func, "parse error\n");
    }
    return pstDoc;
}

/* Brings the cache up to date with the file; false after logging why. Called with the lock held. */
static bool LangCacheRefresh(const char *func) {
    struct stat st;
    if (stat(LANG_FILE_PATH, &st) == 0 && LangCacheIsCurrent(&st)) {
        return true;
    }
    /* What is parsed is described by the open file itself, not by the name looked at above. */
    FILE *fp = fopen(LANG_FILE_PATH, "rb");
    if (fp == NULL || fstat(fileno(fp), &st) != 0) {
        EXT_LOG_ERROR(func, "open %s fail\n", LANG_FILE_PATH);
        if (fp != NULL) {
            fclose(fp);
        }
        LangCacheDrop();
        return false;
    }
    if (LangCacheIsCurrent(&st)) {
        fclose(fp);
        return true;
    }

    LangCacheDrop();
    cJSON *pstDoc = LangFileParse(func, fp);
    fclose(fp);
    if (pstDoc == NULL) {
        return false;
    }
    s_stLang.pstDoc = pstDoc;
    s_stLang.dev = st.st_dev;
    s_stLang.ino = st.st_ino;
    s_stLang.size = st.st_size;
    s_stLang.mtime = st.st_mtim;
    s_stLang.ctime = st.st_ctim;
    return true;
}

/* The current language's text for id, valid while the lock is held; NULL after logging why. */
static const char *LangFindText(const char *func, const char *id) {
    if (!LangCacheRefresh(func)) {
        return NULL;
    }
    cJSON *pstItem = cJSON_GetObjectItemCaseSensitive(s_stLang.pstDoc, id);
    cJSON *pstText = cJSON_GetObjectItemCaseSensitive(pstItem, s_szLangCode);
    if (!cJSON_IsString(pstText) || pstText->valuestring == NULL) {
        EXT_LOG_ERROR(func, "GetObjec error\n");
        return NULL;
    }
    return pstText->valuestring;
}

int lv_label_set_text_tr(lv_obj_t *label, const char *id) {
    if (id == NULL) {
        EXT_LOG_ERROR(__func__, "str is null\n");
        return -1;
    }
    if (label == NULL) {
        EXT_LOG_ERROR(__func__, "pointer[%s] is NULL\n", "label");
        return -1;
    }
    int ret = -1;
    pthread_mutex_lock(&s_stLang.lock);
    const char *pcText = LangFindText(__func__, id);
    if (pcText != NULL) {
        EXT_LOG_INFO(__func__, "string:%s\n", pcText);
        lv_label_set_text(label, pcText);
        ret = 0;
    }
    pthread_mutex_unlock(&s_stLang.lock);
    return ret;
}

/* Length of the longest prefix of text shorter than max bytes that ends on a character boundary. */
static size_t Utf8PrefixLen(const char *text, size_t max) {
    size_t len = strnlen(text, max);
    if (len < max) {
        return len;
    }
    len = max - 1;
    /* Step back over continuation bytes of a character that the cut would split. */
    size_t end = len;
    while (end > 0 && ((unsigned char)text[end] & 0xC0) == 0x80) {
        end--;
    }
    return end;
}

int lv_label_get_text_tr(const char *id, char *dst, uint32_t len) {
    if (id == NULL) {
        EXT_LOG_ERROR(__func__, "str is null\n");
        return -1;
    }
    if (dst == NULL || len == 0) {
        EXT_LOG_ERROR(__func__, "pointer[%s] is NULL\n", "dst");
        return -1;
    }
    int ret = -1;
    pthread_mutex_lock(&s_stLang.lock);
    const char *pcText = LangFindText(__func__, id);
    if (pcText != NULL) {
        size_t n = Utf8PrefixLen(pcText, len);
        memcpy(dst, pcText, n);
        dst[n] = '\0';
        ret = 0;
    }
    pthread_mutex_unlock(&s_stLang.lock);
    return ret;
}

/* ---- Fonts ---- */

/* One font created for a label; a label's records are kept newest first. */
typedef struct FontRecord {
    struct FontRecord *pstNext;
    lv_ft_info_t stInfo;
    lv_style_selector_t selector;
    char *pcName;
} FontRecord;

/* The font records of one label, freed with their fonts when the label is deleted. */
typedef struct LabelFonts {
    struct LabelFonts *pstNext;
    lv_obj_t *pstLabel;
    FontRecord *pstHead;
} LabelFonts;

static LabelFonts *s_pstLabelFonts;

/*
 * Characters a label's font lacks are taken from the fallback fonts of the resource tree, in
 * their order (the digits font first falls back to the body font). The fallback fonts of one
 * size and style are made once and shared by every label's font: only the label's own font is
 * created per label.
 */
typedef struct FallbackChain {
    struct FallbackChain *pstNext;
    uint16_t size;
    uint16_t style;
    bool bWithBody;
    lv_font_t *pstHead; /* NULL when none of the fallback fonts could be opened */
    char *apcNames[RES_FONT_FALLBACK_COUNT + 1];
} FallbackChain;

static FallbackChain *s_pstFallbacks;

/* Opens one fallback font; its name is kept in *ppcName for as long as the font lives. */
static lv_font_t *FallbackFontCreate(const char *pcDevicePath, uint16_t size, uint16_t style,
                                     char **ppcName) {
    char szPath[RES_PATH_LEN];
    snprintf(szPath, sizeof(szPath), "%s%s", RECORDER_ROOT, pcDevicePath);
    lv_ft_info_t stInfo = {0};
    stInfo.name = *ppcName = strdup(szPath);
    stInfo.weight = size;
    stInfo.style = style;
    if (stInfo.name == NULL) {
        return NULL;
    }
    if (!lv_ft_font_init(&stInfo)) {
        free(*ppcName);
        *ppcName = NULL;
        return NULL;
    }
    return stInfo.font;
}

static const lv_font_t *FallbackChainGet(uint16_t size, uint16_t style, bool bWithBody) {
    for (FallbackChain *p = s_pstFallbacks; p != NULL; p = p->pstNext) {
        if (p->size == size && p->style == style && p->bWithBody == bWithBody) {
            return p->pstHead;
        }
    }
    FallbackChain *pstChain = calloc(1, sizeof(*pstChain));
    if (pstChain == NULL) {
        return NULL;
    }
    pstChain->size = size;
    pstChain->style = style;
    pstChain->bWithBody = bWithBody;

    static const char *const s_apcFallbacks[] = RES_FONT_FALLBACKS;
    lv_font_t *pstTail = NULL;
    for (int i = bWithBody ? -1 : 0; i < RES_FONT_FALLBACK_COUNT; i++) {
        const char *pcFile = i < 0 ? "/app/bin/res/font/arial.ttf" : s_apcFallbacks[i];
        lv_font_t *pstFont = FallbackFontCreate(pcFile, size, style, &pstChain->apcNames[i + 1]);
        if (pstFont == NULL) {
            continue;
        }
        if (pstTail == NULL) {
            pstChain->pstHead = pstFont;
        } else {
            pstTail->fallback = pstFont;
        }
        pstTail = pstFont;
    }
    pstChain->pstNext = s_pstFallbacks;
    s_pstFallbacks = pstChain;
    return pstChain->pstHead;
}

/* Whether fontFile is one of the fallback fonts themselves (which get no chain of their own). */
static bool IsFallbackFont(const char *fontFile) {
    static const char *const s_apcFallbacks[] = RES_FONT_FALLBACKS;
    size_t rootLen = strlen(RECORDER_ROOT);
    if (strncmp(fontFile, RECORDER_ROOT, rootLen) != 0) {
        return false;
    }
    for (int i = 0; i < RES_FONT_FALLBACK_COUNT; i++) {
        if (strcmp(fontFile + rootLen, s_apcFallbacks[i]) == 0) {
            return true;
        }
    }
    return false;
}

static LabelFonts *LabelFontsFind(const lv_obj_t *label) {
    for (LabelFonts *p = s_pstLabelFonts; p != NULL; p = p->pstNext) {
        if (p->pstLabel == label) {
            return p;
        }
    }
    return NULL;
}

static void LabelFontsOnDelete(lv_event_t *e) {
    LabelFonts *pstFonts = lv_event_get_user_data(e);
    for (LabelFonts **pp = &s_pstLabelFonts; *pp != NULL; pp = &(*pp)->pstNext) {
        if (*pp == pstFonts) {
            *pp = pstFonts->pstNext;
            break;
        }
    }
    FontRecord *pstRec = pstFonts->pstHead;
    while (pstRec != NULL) {
        FontRecord *pstNext = pstRec->pstNext;
        lv_ft_font_destroy(pstRec->stInfo.font);
        free(pstRec->pcName);
        free(pstRec);
        pstRec = pstNext;
    }
    free(pstFonts);
}

bool lv_label_check_font_is_same(lv_obj_t *label, const char *fontFile, uint16_t size, uint16_t style,
                                 lv_style_selector_t selector) {
    if (label == NULL || fontFile == NULL) {
        EXT_LOG_ERROR(__func__, "pointer[%s] is NULL\n", label == NULL ? "label" : "fontFile");
        return false;
    }
    LabelFonts *pstFonts = LabelFontsFind(label);
    if (pstFonts == NULL) {
        return false;
    }
    for (FontRecord *pstRec = pstFonts->pstHead; pstRec != NULL; pstRec = pstRec->pstNext) {
        if (pstRec->stInfo.weight == size && pstRec->stInfo.style == style &&
            strcmp(pstRec->pcName, fontFile) == 0) {
            lv_obj_set_style_text_font(label, pstRec->stInfo.font, selector);
            return true;
        }
    }
    return false;
}

void lv_label_freetype_set_text(lv_obj_t *label, const char *fontFile, uint16_t size,
                                lv_style_selector_t selector, uint16_t style) {
    if (label == NULL || fontFile == NULL) {
        EXT_LOG_ERROR(__func__, "pointer[%s] is NULL\n", label == NULL ? "label" : "fontFile");
        return;
    }
    if (lv_label_check_font_is_same(label, fontFile, size, style, selector)) {
        return;
    }

    FontRecord *pstRec = calloc(1, sizeof(*pstRec));
    char *pcName = strdup(fontFile);
    if (pstRec == NULL || pcName == NULL) {
        EXT_LOG_ERROR(__func__, "malloc fail\n");
        free(pstRec);
        free(pcName);
        return;
    }
    pstRec->pcName = pcName;
    pstRec->stInfo.name = pcName;
    pstRec->stInfo.weight = size;
    pstRec->stInfo.style = style;
    pstRec->selector = selector;
    if (!lv_ft_font_init(&pstRec->stInfo)) {
        EXT_LOG_ERROR(__func__, "lv_ft_font_init failed.\n");
        free(pcName);
        free(pstRec);
        return;
    }

    if (!IsFallbackFont(fontFile)) {
        bool bWithBody = strcmp(fontFile, SYS_PATH_FONT_BODY) != 0;
        pstRec->stInfo.font->fallback = FallbackChainGet(size, style, bWithBody);
    }

    LabelFonts *pstFonts = LabelFontsFind(label);
    if (pstFonts == NULL) {
        pstFonts = calloc(1, sizeof(*pstFonts));
        if (pstFonts == NULL) {
            EXT_LOG_ERROR(__func__, "malloc fail\n");
            lv_ft_font_destroy(pstRec->stInfo.font);
            free(pcName);
            free(pstRec);
            return;
        }
        pstFonts->pstLabel = label;
        pstFonts->pstNext = s_pstLabelFonts;
        s_pstLabelFonts = pstFonts;
        lv_obj_add_event_cb(label, LabelFontsOnDelete, LV_EVENT_DELETE, pstFonts);
    }
    pstRec->pstNext = pstFonts->pstHead;
    pstFonts->pstHead = pstRec;
    lv_obj_set_style_text_font(label, pstRec->stInfo.font, selector);
}

void lv_label_freetype_set_text_normal(lv_obj_t *label, const char *fontFile, uint16_t size,
                                       lv_style_selector_t selector) {
    lv_label_freetype_set_text(label, fontFile, size, selector, UI_FONT_STYLE_NORMAL);
}

void lv_label_freetype_set_text_italic(lv_obj_t *label, const char *fontFile, uint16_t size,
                                       lv_style_selector_t selector) {
    lv_label_freetype_set_text(label, fontFile, size, selector, UI_FONT_STYLE_ITALIC);
}

void lv_label_freetype_set_text_bold(lv_obj_t *label, const char *fontFile, uint16_t size,
                                     lv_style_selector_t selector) {
    lv_label_freetype_set_text(label, fontFile, size, selector, UI_FONT_STYLE_BOLD);
}

/* ---- Resource paths and view helpers ---- */

const char *UI_ResPath(const char *file, const char *root) {
    static char s_szPath[RES_PATH_LEN];
    if (file == NULL || root == NULL) {
        EXT_LOG_ERROR(__func__, "pointer[%s] is NULL\n", file == NULL ? "file" : "root");
        s_szPath[0] = '\0';
        return s_szPath;
    }
    snprintf(s_szPath, sizeof(s_szPath), "%s%s", root, file);
    return s_szPath;
}

void Label_AppendText(lv_obj_t *label, const char *text) {
    if (label == NULL || text == NULL) {
        return;
    }
    lv_label_ins_text(label, LV_LABEL_POS_LAST, text);
}

void Label_GetTextSize(lv_point_t *size, lv_obj_t *label, const char *text, lv_coord_t maxWidth) {
    if (size == NULL || label == NULL || text == NULL) {
        EXT_LOG_ERROR(__func__, "pointer[%s] is NULL\n",
                      size == NULL    ? "size"
                      : label == NULL ? "label"
                                      : "text");
        return;
    }
    const lv_font_t *font = lv_obj_get_style_text_font(label, LV_PART_MAIN);
    lv_coord_t letterSpace = lv_obj_get_style_text_letter_space(label, LV_PART_MAIN);
    lv_coord_t lineSpace = lv_obj_get_style_text_line_space(label, LV_PART_MAIN);
    lv_txt_get_size(size, text, font, letterSpace, lineSpace, maxWidth, LV_TEXT_FLAG_EXPAND);
}

void AnimTimelineAddTable(lv_anim_timeline_t *timeline, const AnimTimelineRow *rows) {
    if (timeline == NULL || rows == NULL) {
        EXT_LOG_ERROR(__func__, "pointer[%s] is NULL\n", timeline == NULL ? "timeline" : "rows");
        return;
    }
    for (const AnimTimelineRow *pstRow = rows; pstRow->obj != NULL; pstRow++) {
        lv_anim_t a;
        lv_anim_init(&a);
        lv_anim_set_var(&a, pstRow->obj);
        lv_anim_set_values(&a, pstRow->start, pstRow->end);
        lv_anim_set_exec_cb(&a, pstRow->exec_cb);
        lv_anim_set_time(&a, pstRow->duration);
        if (pstRow->path_cb != NULL) {
            lv_anim_set_path_cb(&a, pstRow->path_cb);
        }
        lv_anim_set_early_apply(&a, pstRow->early_apply);
        lv_anim_timeline_add(timeline, pstRow->start_time, &a);
    }
}
