/* Camera: the picture display_sink shows under the user interface follows the camera the user
 * interface chose ("preview_camid" saved), as the recorder switches its live video. */
#include "recorder_sim.h"

namespace sim {

namespace {

bool ShowCamera(long id) {
    Log("camera", std::to_string(id));
    return SinkCommand("camera " + std::to_string(id));
}

std::string CheckCamera(std::vector<std::string> &a) {
    long id;
    return a.size() == 1 && ParseLong(a[0], &id) && id >= 0 && id <= 2 ? "" : "camera needs ID (0, 1 or 2)";
}

bool RunCamera(const std::vector<std::string> &a) {
    return ShowCamera(std::stol(a[0]));
}

const SimVerb kVerbs[] = {
    {"camera", "ID", "show camera ID's picture under the UI (display_sink, needs --sink-control)",
     CheckCamera, RunCamera},
};

} // namespace

void CameraSettingChanged(const std::string &key, double value) {
    if (key != "preview_camid") {
        return;
    }
    if (value < 0 || value > 2 || value != (double)(long)value) {
        Log("camera", "no camera " + std::to_string(value) + ", picture unchanged");
        return;
    }
    ShowCamera((long)value);
}

const SimFamily kFamily_camera = {
    "camera",
    "Switches display_sink's picture under the UI to the camera saved as \"preview_camid\" (0 front,\n"
    "1 rear, 2 inside), through --sink-control; \"camera ID\" does it by hand.",
    nullptr,
    0,
    kVerbs,
    sizeof(kVerbs) / sizeof(kVerbs[0]),
    nullptr,
};

} // namespace sim
