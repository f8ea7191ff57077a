// Every write notifies, with the new value already in place.
#include "picker/fan/fan_model.h"
#include <functional>
#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(FanModel, EveryWriteNotifiesWithTheNewValueInPlace) {
    FanModel model;
    FanGeometry g;
    g.count = 30;
    const std::vector<std::pair<std::function<void()>, std::function<bool()>>> writes{
        {[&] { model.setItems(std::vector<ClipItem>(1)); },
         [&] { return model.items().size() == 1; }},
        {[&] { model.setSelected(3); }, [&] { return model.selected() == 3; }},
        {[&] { model.setPhase(PickerPhase::committing); },
         [&] { return model.phase() == PickerPhase::committing; }},
        {[&] { model.setScroll(2.5); }, [&] { return model.scroll() == 2.5; }},
        {[&] { model.setScroll(2.5); }, [&] { return model.scroll() == 2.5; }},
        {[&] { model.setOutside(true); }, [&] { return model.outside(); }},
        {[&] { model.setGeometry(g); }, [&] { return model.geometry() == g; }},
        {[&] {
             model.setCanvas({800, 600});
         },
         [&] {
             return model.canvas() == SizeD{800, 600};
         }},
        {[&] {
             model.setAnchor({-12, 40});
         },
         [&] {
             return model.anchor() == SizeD{-12, 40};
         }},
    };
    for (std::size_t i = 0; i < writes.size(); ++i) {
        bool seen = false;
        const auto token = model.observe([&] { seen = writes[i].second(); });
        writes[i].first();
        EXPECT_TRUE(seen) << "write " << i;
        model.unobserve(token);
    }
}

} // namespace
} // namespace vt
