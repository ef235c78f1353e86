#include "station/station_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace vantor {
namespace {

bool offers(const std::vector<DeviceModel>& models, int number, const std::string& name) {
  return std::ranges::any_of(models, [&](const DeviceModel& model) {
    return model.number == number && model.name == name;
  });
}

// The lists come from the hamlib installed: its dummy and NET models are always there, each model
// once, by name, and asking twice gives the same lists.
TEST(DeviceModels, ListHamlibsModelsOnceEachByMakerAndName) {
  const std::vector<DeviceModel> rigs = rigModels();
  const std::vector<DeviceModel> rotators = rotatorModels();
  EXPECT_TRUE(offers(rigs, kNetRigctlModel, "Hamlib NET rigctl"));
  EXPECT_TRUE(offers(rigs, 1, "Hamlib Dummy"));
  EXPECT_TRUE(offers(rotators, kNetRotctlModel, "Hamlib NET rotctl"));
  for (const std::vector<DeviceModel>* models : {&rigs, &rotators}) {
    EXPECT_TRUE(std::ranges::is_sorted(*models, {}, &DeviceModel::name));
    std::set<int> numbers;
    for (const DeviceModel& model : *models) {
      EXPECT_TRUE(numbers.insert(model.number).second) << model.number << ' ' << model.name;
    }
  }
  EXPECT_EQ(rigModels().size(), rigs.size());
  EXPECT_EQ(rotatorModels().size(), rotators.size());
}

}  // namespace
}  // namespace vantor
