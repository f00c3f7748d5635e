/*
 * The page test harness: the real user interface in one test process.
 *
 *   - lvlite with manual time: nothing moves until Advance() steps the tick and runs the timers;
 *   - a 320 x 170 display in memory whose frame can be written as PNG and compared with a
 *     reviewed reference PNG (MatchesReference);
 *   - the key driver, the data center "CENTER" with the nine accounts and their real processors;
 *   - the IPC agent with the user interface's handler rows and a FakeRecorder that answers the
 *     requests and posts notices through the agent's receive threads.
 *
 * Reference pictures live in <page dir>/tests/ref/<screen>_<LANG>.png. Running the tests with
 * RECORDER_UPDATE_REFS=1 writes every reference anew (look at each before committing it). Every
 * comparison also writes the frame to <build>/page_test_out/<name>.png.
 *
 * Tolerance: a pixel differs when one of its channels differs by more than kChannelTolerance; a
 * frame matches when at most kMaxDifferingPixels pixels differ (room for rounding of font
 * rendering between builds, never for a moved or missing element).
 */
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <unistd.h>

#include "DataCenter.h"
#include "fake_recorder.h"
#include "lvgl.h"

namespace pagetest {

constexpr int kW = 320;
constexpr int kH = 170;
constexpr int kChannelTolerance = 16;
constexpr int kMaxDifferingPixels = 40;

/* Brings everything up once per process (later calls do nothing) and sets the language code. The
 * active screen is opaque black, as the program prepares it over the camera picture. */
void Up(const char *pcLangCode = "US");

/* The colour of the active screen, standing for the camera picture below the pages (black at
 * start). Views drawn with translucent backgrounds show on it. */
void SetBackground(uint32_t u32Rgb);

/* Steps time by ms in steps of step ms, running the timer handler after each. */
void Advance(uint32_t ms, uint32_t step = 10);
/* Redraws what is invalid now. */
void Refresh();
/* The panel: kW x kH pixels, ARGB. */
const std::vector<uint32_t> &Frame();

/* Hands a document to the agent's dispatch on this thread, as a receive thread would (the
 * handler table of the user interface): deterministic, unlike FakeRecorder::Post. */
int Deliver(const std::string &doc);
/* A key message (KEY_CODE_*, KEY_VALUE_*) handled at once, then 30 ms of time so that the key
 * timer hands it to the page callback and the keypad. */
void Key(uint32_t u32Code, uint32_t u32Value);
/* Press and release with 100 ms between (a short click). */
void Click(uint32_t u32Code);

/* The recorder stand-in of this process. */
FakeRecorder &Recorder();

/* An account "PageTest" subscribed to all nine accounts; it records what they publish. */
Account *TestAccount();
struct Published {
    std::string from;
    std::vector<uint8_t> data;
};
std::vector<Published> &PublishedLog();

bool WritePng(const std::string &path, int w, int h, const uint32_t *argb);
bool ReadPng(const std::string &path, int &w, int &h, std::vector<uint32_t> &argb);

/* Compares the current frame (after a refresh) with refDir/name.png, or writes it there when
 * RECORDER_UPDATE_REFS=1. */
::testing::AssertionResult MatchesReference(const std::string &refDir, const std::string &name);

/* Runs the timers in steps of 10 ms until pred holds. The receive threads and the save thread
 * work in real time, so a little real time passes with each step too; the bound (in steps) only
 * keeps a broken run from hanging. */
template <typename Pred> bool AdvanceUntil(Pred pred, int boundMs = 5000) {
    for (int t = 0; t < boundMs; t += 10) {
        if (pred()) {
            return true;
        }
        Advance(10);
        usleep(2000);
    }
    return pred();
}

/* Pixels of the frame that differ from colour (ARGB, alpha ignored) within a rectangle. */
size_t CountNot(uint32_t rgb, int x1, int y1, int x2, int y2);

} // namespace pagetest
