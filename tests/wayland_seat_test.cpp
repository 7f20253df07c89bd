// The input-seat probe against a minimal in-process Wayland compositor, with and without a
// seat, and the driver choice that follows: narrowed to X11, refused, or left alone.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <wayland-server.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "platform/system/detail/wayland_seat.hpp"

namespace {
// Sets an environment variable for one scope, then restores it.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

void BindSeat(wl_client* client, void*, uint32_t version, uint32_t id) {
    wl_resource_create(client, &wl_seat_interface, static_cast<int>(version), id);
}

// A compositor that answers the registry, with or without a wl_seat global.
class FakeCompositor {
  public:
    explicit FakeCompositor(bool with_seat) : display_(wl_display_create()) {
        socket_ = wl_display_add_socket_auto(display_);
        if (with_seat) wl_global_create(display_, &wl_seat_interface, 1, nullptr, BindSeat);
        thread_ = std::thread([this] { wl_display_run(display_); });
    }
    ~FakeCompositor() {
        wl_display_terminate(display_);
        thread_.join();
        wl_display_destroy(display_);
    }
    const char* Socket() const { return socket_; }

  private:
    wl_display* display_;
    const char* socket_ = nullptr;
    std::thread thread_;
};

class WaylandSeatTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/orb-wayland-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    // Probes the compositor as the game would find it through WAYLAND_DISPLAY.
    TWaylandSeat Probe(const char* display) {
        ScopedEnv runtime("XDG_RUNTIME_DIR", dir_.c_str());
        ScopedEnv name("WAYLAND_DISPLAY", display);
        ScopedEnv socket("WAYLAND_SOCKET", nullptr);
        return ProbeWaylandSeat();
    }
    std::string dir_;
};

TEST_F(WaylandSeatTest, ProbeFindsTheSeatOrItsAbsence) {
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", dir_.c_str());
        FakeCompositor with_seat(true);
        ASSERT_NE(with_seat.Socket(), nullptr);
        EXPECT_EQ(Probe(with_seat.Socket()), TWaylandSeat::kSeat);
    }
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir_.c_str());
    FakeCompositor seatless(false);
    ASSERT_NE(seatless.Socket(), nullptr);
    EXPECT_EQ(Probe(seatless.Socket()), TWaylandSeat::kNoSeat);
    EXPECT_EQ(Probe("no-such-socket"), TWaylandSeat::kNoCompositor);
}

TEST_F(WaylandSeatTest, ProbeLeavesAHandedOverSocketAlone) {
    ScopedEnv socket("WAYLAND_SOCKET", "3");
    EXPECT_EQ(ProbeWaylandSeat(), TWaylandSeat::kNoCompositor);
    ScopedEnv unset_socket("WAYLAND_SOCKET", nullptr);
    ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    ScopedEnv name("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_EQ(ProbeWaylandSeat(), TWaylandSeat::kNoCompositor);  // nowhere to look, no noise
}

TEST(WaylandRouteTest, OnlyASeatlessCompositorChangesTheChoice) {
    EXPECT_EQ(ChooseWaylandRoute(nullptr, TWaylandSeat::kNoSeat), TWaylandRoute::kX11Only);
    EXPECT_EQ(ChooseWaylandRoute(" ", TWaylandSeat::kNoSeat), TWaylandRoute::kX11Only);
    EXPECT_EQ(ChooseWaylandRoute("wayland", TWaylandSeat::kNoSeat), TWaylandRoute::kRefuse);
    EXPECT_EQ(ChooseWaylandRoute("x11, Wayland", TWaylandSeat::kNoSeat), TWaylandRoute::kRefuse);
    EXPECT_EQ(ChooseWaylandRoute("x11", TWaylandSeat::kNoSeat), TWaylandRoute::kAsIs);
    EXPECT_EQ(ChooseWaylandRoute("waylandx", TWaylandSeat::kNoSeat), TWaylandRoute::kAsIs);
    EXPECT_EQ(ChooseWaylandRoute("offscreen", TWaylandSeat::kNoSeat), TWaylandRoute::kAsIs);
    EXPECT_EQ(ChooseWaylandRoute(nullptr, TWaylandSeat::kSeat), TWaylandRoute::kAsIs);
    EXPECT_EQ(ChooseWaylandRoute("wayland", TWaylandSeat::kSeat), TWaylandRoute::kAsIs);
    EXPECT_EQ(ChooseWaylandRoute(nullptr, TWaylandSeat::kNoCompositor), TWaylandRoute::kAsIs);
    EXPECT_FALSE(MayPickWayland("offscreen"));
    EXPECT_TRUE(MayPickWayland(""));
}

TEST_F(WaylandSeatTest, SeatlessCompositorIsRefusedOrPassedOver) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir_.c_str());
    FakeCompositor seatless(false);
    ScopedEnv name("WAYLAND_DISPLAY", seatless.Socket());
    std::string note;
    {
        ScopedEnv asked("SDL_VIDEODRIVER", "wayland");
        EXPECT_FALSE(AvoidSeatlessWayland(&note));
        EXPECT_NE(note.find("no input seat"), std::string::npos) << note;
    }
    ScopedEnv unset("SDL_VIDEODRIVER", nullptr);
    EXPECT_TRUE(AvoidSeatlessWayland(&note));
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_VIDEODRIVER), "x11");
    EXPECT_NE(note.find("passed over"), std::string::npos) << note;
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
}
}  // namespace
