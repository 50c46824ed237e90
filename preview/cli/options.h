// The preview's command line: subcommand, output choices and the parameter values as given.
// Parsing checks the form of every option; parameter names and values are checked later
// against the loaded module's parameter table (ResolveAssignments), since that is where they
// are declared.
//
//   quarel-preview [options]            render (no arguments at all: the sheet of patterns)
//   quarel-preview sample [options]     values at points read from standard input
//   quarel-preview params [options]     the parameters, their types and ranges
//   quarel-preview bake [options]       seamless colour, normal, height and id maps of one tile
//   quarel-preview swatch [options]     the editor's swatch of one pattern
//   quarel-preview picker [options]     the editor's pattern picker menu
//   quarel-preview patterns [options]   every pattern's id, name and picker group
//   quarel-preview show [options]       the map's parameter values as a preset
//
// Each command takes the options that mean something to it; any other option is refused with
// the reason, not ignored. The options and what each command takes of them are a table
// (option_table.h).
//
// The map is a new one, or with --scene the first QuarelMap of a saved scene (--map: the one of
// that name); preset and --set values apply to it either way. --save-scene saves it as a scene.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "point3.h"
#include "preview/common/outputs.h"

namespace QuarelPreview {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;   // the module cannot be loaded, an output cannot be written
constexpr int kExitRefused = 2;  // a bad option, parameter, preset, image or sample line
constexpr int kExitMissing = 3;  // a scene's images cannot be used, without --allow-missing

enum class Command { Render, Sample, Params, Bake, Swatch, Picker, Patterns, Show };

// The subcommand's name ("" for a render).
const char* CommandName(Command c);

struct PreviewOptions {
    Command command = Command::Render;
    std::string module;  // empty: the module of the build tree
    std::string preset;
    std::string scene;      // a scene file to take the map from
    std::string mapName;    // with scene: the map of this name, not the first
    std::string saveScene;  // a scene file to save the map into
    // Folders to look in for a scene's or preset's images that are not where it says.
    std::vector<std::string> imagePaths;
    bool allowMissing = false;  // with scene: render even when some of its images are missing
    // NAME, VALUE pairs in the order they apply: the shorthand options (--pattern, --nx, ...)
    // first, then each --set.
    std::vector<std::pair<std::string, std::string>> sets;
    // For each of `sets`, the option as the user typed it ("--nx 300", "--set nx=300"), for
    // messages; may be shorter than `sets` when filled by hand, then "--set NAME=VALUE" is said.
    std::vector<std::string> setOrigins;
    Output output = Output::Color;
    Projection projection = Projection::Plane;
    Point3 box{1.f, 0.5f, 1.f};
    bool sheet = false;  // a contact sheet of every pattern instead of one picture
    int size = 512;      // pixels high (swatch, sheet: each side)
    int width = 0;       // bake: pixels across, 0 for `size` (a square tile)
    int repeat = 1;
    int samples = 4;  // renders: enough that one-pixel joints keep their colour
    int threads = 0;
    bool quiet = false;
    bool normalYDown = false;  // normal pictures with the +Y down convention
    std::string out;           // output file (bake: path prefix); empty: a name under out/
    // bake: normals from slopes of the baked height (default) or the map's normal output
    bool normalFromOutput = false;
    int bevel = 2;             // pixels
    double reliefDepth = 6.0;  // pixels a unit height step stands high
    // bake: the roughness map's bricks, joint and per-brick spread; the occlusion's reach
    double roughnessBrick = 0.8;
    double roughnessJoint = 0.95;
    double roughnessVariance = 0.08;
    double occlusionRadius = 0.02;       // tile units
    std::string profile = "separate";    // bake: the target's file set (bake_profiles.h)
    double metallic = 0.0;               // bake: the packed masks' metallic
    std::string heightFormat = "png16";  // bake: "png16" or "exr"
    bool strict = false;                 // bake: a tile that does not repeat is an error
    bool json = false;                   // params: the table as JSON
    // pictures: a lit sample object ("sphere", "cube", "cylinder", "plane"); empty: none
    std::string object;
    float bump = 1.f;  // the map's perturbation added to the object's shading normal, scaled
    // with object: the camera's distance, azimuth and elevation (degrees) and the key light's
    // azimuth and elevation; empty: the object's own framing and light
    std::vector<float> camera, light;
    int objectTiles = 0;  // with object: tiles around it or across a face; 0: the object's own
};

// The bake's path prefix of --out: the text without a ".png" ending.
std::string BakePrefix(const std::string& out);

// X,Y,Z with each from 0.001 to 1000, as --box takes it.
bool ParseBox(const std::string& text, Point3& box);

// `count` finite numbers separated by commas, no spaces.
bool ParseNumbers(const std::string& text, int count, std::vector<float>& out);

// Why a --camera (DISTANCE,AZIMUTH,ELEVATION) or --light (AZIMUTH,ELEVATION) text is refused,
// or "".
std::string CameraProblem(const std::string& text);
std::string LightProblem(const std::string& text);

// "N" or "WxH" (an x or X between two whole numbers, no spaces): width and height; N gives
// both. Only the form is checked, not the range.
bool ParseSize(const std::string& text, int& width, int& height);

// Parses argv. Returns -1 to go on, otherwise the exit code (0 after --help, kExitRefused
// after a bad option, with the message already printed to standard error).
int ParseOptions(int argc, char** argv, PreviewOptions& options);

}  // namespace QuarelPreview
