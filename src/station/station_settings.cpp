#include "station/station_settings.h"

#include <hamlib/rig.h>
#include <hamlib/rotator.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>

#include "station/hamlib_access.h"

namespace vantor {
namespace {

template <typename Caps>
int addModel(const Caps* caps, void* models, int number) {
  static_cast<std::vector<DeviceModel>*>(models)->push_back(
      {number, std::string(caps->mfg_name) + ' ' + caps->model_name});
  return 1;  // go on with the next model
}

int addRig(const rig_caps* caps, rig_ptr_t models) {
  return addModel(caps, models, static_cast<int>(caps->rig_model));
}

int addRotator(const rot_caps* caps, rig_ptr_t models) {
  return addModel(caps, models, static_cast<int>(caps->rot_model));
}

std::vector<DeviceModel> byName(std::vector<DeviceModel> models) {
  std::ranges::sort(models, [](const DeviceModel& left, const DeviceModel& right) {
    return std::tie(left.name, left.number) < std::tie(right.name, right.number);
  });
  return models;
}

}  // namespace

std::vector<DeviceModel> rigModels() {
  std::vector<DeviceModel> models;
  {
    const auto lock = hamlib::lockBackends();
    static std::once_flag loaded;
    std::call_once(loaded, rig_load_all_backends);
    rig_list_foreach(addRig, &models);
  }
  return byName(std::move(models));
}

std::vector<DeviceModel> rotatorModels() {
  std::vector<DeviceModel> models;
  {
    const auto lock = hamlib::lockBackends();
    static std::once_flag loaded;
    std::call_once(loaded, rot_load_all_backends);
    rot_list_foreach(addRotator, &models);
  }
  return byName(std::move(models));
}

}  // namespace vantor
