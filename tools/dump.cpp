// orbitrants-dump OUTDIR [--clock MS] [--raw]: runs start-up through content generation
// headless, with the clock fixed so the run repeats, creates the first enemy, and writes every
// generated image frame as PNG (with --raw as bare RGBA rows, NAME.WxH.rgba), every field as raw little-endian data, the enemy's sprites, height field
// and scalar fields, and the generator state. Developer tool; depends on the game's libraries
// and the tools' support library. With --icon PATH [--size N] it writes only the desktop icon
// the build installs: the lit player ship on its plate, N pixels square.
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/flight.hpp"
#include "game/game_state.hpp"
#include "game/ship_sprite.hpp"
#include "game/startup.hpp"
#include "generate/content.hpp"
#include "objects/object_state.hpp"
#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"
#include "support/dump_options.hpp"
#include "support/icon_tile.hpp"
#include "support/png_file.hpp"
#include "support/rgba_file.hpp"
#include "support/safe_file.hpp"
#include "support/tool_args.hpp"

namespace fs = std::filesystem;

namespace {
constexpr const char* kTool = "orbitrants-dump";
constexpr int kScreenW = 1280, kScreenH = 500;
// The icon's light: the light hangs over the window centre, and the ship sits 160 pixels right
// of and 120 below it, so the light falls from the upper left as on most desktop icons.
constexpr float kIconShipDx = 160, kIconShipDy = 120;

[[noreturn]] void Fail(const std::string& message) {
    ToolFail(kTool, message);
}

void WritePng(const fs::path& path, const TPixmap& pixmap) {
    std::string error;
    if (!WritePngFile(path, pixmap, &error)) Fail("cannot write " + error);
}

bool g_raw = false;  // --raw: image frames as bare RGBA rows

std::string Dims(int w, int h) {
    return std::to_string(w) + "x" + std::to_string(h);
}

// Writes one image frame as NAME.png, or as NAME.WxH.rgba with --raw.
void WriteFrame(const fs::path& dir, const std::string& name, const TPixmap& pixmap) {
    if (!g_raw) return WritePng(dir / (name + ".png"), pixmap);
    std::string error;
    const fs::path path = dir / (name + "." + Dims(pixmap.width, pixmap.height) + ".rgba");
    if (!WriteRgbaFile(path, pixmap, &error)) Fail("cannot write " + error);
}

void WriteText(const fs::path& path, const std::string& text) {
    std::string error;
    if (!WriteWholeFile(path.string(), text.data(), text.size(), &error))
        Fail("cannot write " + error);
}

// Writes every frame of `image`: NAME.png, or NAME.K.png when it has several frames. A frame
// never written (player_ship, hole_img) is written as the zeroed pixmap a lock would give.
void WriteImage(const fs::path& dir, const std::string& name, const ImagePtr& image) {
    if (!image) Fail(name + " was not generated");
    const int frames = image->FrameCount();
    for (int k = 0; k < frames; ++k) {
        PixmapPtr pix = image->pixmaps[k];
        if (!pix) pix = CreatePixmap(image->width, image->height, PIXFMT_RGBA32);
        WriteFrame(dir, frames == 1 ? name : name + "." + std::to_string(k), *pix);
    }
}

template <typename T, typename A>
void WriteRaw(const fs::path& path, const std::vector<T, A>& data) {
    static_assert(std::endian::native == std::endian::little, "raw fields are little-endian");
    std::string error;
    if (!WriteWholeFile(path.string(), data.data(), data.size() * sizeof(T), &error))
        Fail("cannot write " + error);
}

void WriteImages(const fs::path& dir, const Content& c) {
    const std::pair<const char*, const ImagePtr*> images[] = {
        {"vignette", &c.vignette},
        {"backdrop", &c.backdrop},
        {"maze", &c.maze},
        {"player_ship", &c.player_ship},
        {"player_shadow", &c.player_shadow},
        {"glow_blue", &c.glow_blue},
        {"glow_red", &c.glow_red},
        {"ring", &c.ring},
        {"ring_segments", &c.ring_segments},
        {"hole_glow", &c.hole_glow},
        {"hole_img", &c.hole_img},
        {"glow_white", &c.glow_white},
    };
    for (const auto& [name, image] : images)
        WriteImage(dir, name, *image);
    // The white lattice as it was before the composite replaced it.
    WriteFrame(dir, "backdrop_pix", *c.backdrop_pix);
}

void WriteFields(const fs::path& dir, const Content& c) {
    WriteRaw(dir / ("walk_map." + Dims(kScreenW, kScreenH) + ".f32"), c.walk_map);
    const std::string ship = "." + Dims(c.player_size, c.player_size) + ".f32";
    const std::pair<const char*, const FloatField*> ship_fields[] = {
        {"player_bump", &c.player_bump},   {"player_normx", &c.player_normx},
        {"player_normy", &c.player_normy}, {"player_normz", &c.player_normz},
        {"player_soft", &c.player_soft},   {"player_silhouette", &c.player_silhouette},
    };
    for (const auto& [name, field] : ship_fields)
        WriteRaw(dir / (name + ship), *field);
    const std::string stages =
        "." + std::to_string(kHoleStages) + "x" + Dims(c.hole_size, c.hole_size);
    WriteRaw(dir / ("hole_height." + Dims(c.hole_size, c.hole_size) + ".f32"), c.hole_height);
    WriteRaw(dir / ("hole_mask" + stages + ".u8"), c.hole_mask);
    WriteRaw(dir / ("hole_normx" + stages + ".f32"), c.hole_normx);
    WriteRaw(dir / ("hole_normy" + stages + ".f32"), c.hole_normy);
    WriteRaw(dir / ("hole_normz" + stages + ".f32"), c.hole_normz);
    WriteRaw(dir / "grid_gaps.256.i32", c.grid_gaps);
}

// A real as JSON: floats with the 9 digits that bring them back exactly, doubles with 17.
std::string Real(double value, int digits) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

// The enemy's sprites, height field and scalar fields.
void WriteEnemy(const fs::path& dir, const enemy& e) {
    const int S = FloatToInt(e.size);
    WriteImage(dir, "enemy_ship", e.ship);
    WriteImage(dir, "enemy_shadow", e.shadow);
    WriteRaw(dir / ("enemy_bump." + Dims(S, S) + ".f32"), e.bump);
    std::ostringstream json;
    json << "{\n  \"size\": " << Real(e.size, 9) << ",\n  \"random\": " << Real(e.random, 9)
         << ",\n  \"rot_accuracy\": " << Real(e.rot_accuracy, 9)
         << ",\n  \"max_speed\": " << Real(e.max_speed, 9) << ",\n  \"borders\": [" << e.borders[0]
         << ", " << e.borders[1] << ", " << e.borders[2] << ", " << e.borders[3]
         << "],\n  \"col\": {\"r\": " << Real(e.col.r, 17) << ", \"g\": " << Real(e.col.g, 17)
         << ", \"b\": " << Real(e.col.b, 17) << "}\n}\n";
    WriteText(dir / "enemy.json", json.str());
}

// The player's ship lit as the play frame lights it, heading up, on the icon's plate.
void WriteIcon(const fs::path& path, int size) {
    TGameState g;
    g.ship_x = static_cast<float>(g.half_w + double{kIconShipDx});
    g.ship_y = static_cast<float>(g.half_h + double{kIconShipDy});
    TPlayFrame f;
    f.s = 0, f.c = 1;  // heading 0
    light_ship(g, f);
    relight_ship_sprite(f);
    const PixmapPtr& ship = Generated().player_ship->pixmaps[0];
    if (!ship) Fail("the player's ship was not lit");
    const PixmapPtr icon = IconTile(*ship, size);
    if (!icon) Fail("no memory for the icon");
    WritePng(path, *icon);
}

int DumpIcon(const TDumpOptions& options) {
    RunHeadless(options.clock);
    if (!StartUpThroughGeneration()) Fail("cannot open graphics: " + LastGraphicsError());
    WriteIcon(options.icon, options.icon_size ? options.icon_size : kDefaultIconSize);
    CloseGraphics();
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    const TDumpOptions options = OptionsOrFail(kTool, ParseDumpOptions(ToolArgs(argc, argv)));
    if (!options.icon.empty()) return DumpIcon(options);
    g_raw = options.raw;
    std::error_code error;
    fs::create_directories(options.out, error);
    if (error) Fail("cannot create " + options.out.string() + ": " + error.message());
    RunHeadless(options.clock);
    if (!StartUpThroughGeneration()) Fail("cannot open graphics: " + LastGraphicsError());
    const Content& content = Generated();
    const int after_generation = RandomState();
    // The first enemy, as start-up makes it (it reseeds from the clock, so nothing between
    // generation and it changes it).
    const EnemyPtr first = enemy::Create(0, 0, 0, 0, 170, 210, 255, 0);
    const int after_enemy = RandomState();
    WriteImages(options.out, content);
    WriteFields(options.out, content);
    WriteEnemy(options.out, *first);
    WriteText(options.out / "rng.txt", "after_generation " + std::to_string(after_generation) +
                                           "\nafter_enemy " + std::to_string(after_enemy) + "\n");
    CloseGraphics();
    std::printf("orbitrants-dump: content for clock %d written to %s\n", options.clock,
                options.out.c_str());
    return 0;
}
