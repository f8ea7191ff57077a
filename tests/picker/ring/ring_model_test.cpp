// Every write notifies, with the new value already in place; observers may come
// and go while they are being notified.
#include "picker/ring/ring_model.h"
#include <functional>
#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(RingModel, EveryWriteNotifiesWithTheNewValueInPlace) {
    RingModel model;
    const std::vector<std::pair<std::function<void()>, std::function<bool()>>> writes{
        {[&] { model.setItems(std::vector<ClipItem>(2)); },
         [&] { return model.items().size() == 2; }},
        {[&] { model.setSelected(1); }, [&] { return model.selected() == 1; }},
        {[&] { model.setSelected(1); }, [&] { return model.selected() == 1; }},
        {[&] { model.setPhase(PickerPhase::shown); },
         [&] { return model.phase() == PickerPhase::shown; }},
        {[&] { model.setHighlightAngle(2.5); }, [&] { return model.highlightAngle() == 2.5; }},
        {[&] { model.setOutside(true); }, [&] { return model.outside(); }},
    };
    for (std::size_t i = 0; i < writes.size(); ++i) {
        bool seen = false;
        const auto token = model.observe([&] { seen = writes[i].second(); });
        writes[i].first();
        EXPECT_TRUE(seen) << "write " << i;
        model.unobserve(token);
    }
}

TEST(RingModel, ObserversMayUnobserveAndObserveWhileBeingNotified) {
    RingModel model;
    int first = 0, second = 0, late = 0;
    Observable::Token secondToken = 0;
    const auto firstToken = model.observe([&] {
        ++first;
        model.unobserve(secondToken);
        model.observe([&] { ++late; });
    });
    secondToken = model.observe([&] { ++second; });
    model.setSelected(1);
    EXPECT_EQ(second, 0) << "removed before its turn";
    EXPECT_EQ(late, 0) << "added during the notification, heard from the next write on";
    model.unobserve(firstToken);
    model.setSelected(2);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(late, 1);
}

} // namespace
} // namespace vt
