// brenlo-render: the save command without a window. It loads the source as
// the open command does, then runs the same save through effects::Driver with
// a host that answers the GIF question from the command line.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/ui_language.h"
#include "core/color.h"
#include "effects/options.h"
#include "play/animation_plan.h"
#include "save/save_step.h"

namespace app {

struct RenderArgs {
  std::string source;  // SOURCE: a BMP, JPEG, GIF, PNG or WebP file
  std::string output;  // OUTPUT: FOLDER/NAME.EXT, as the save dialog returns it
  // Effect, options and hue settings; mask is set on the chosen effect's box.
  effects::Options options;
  std::optional<core::Color> background;  // --background as 0x00BBGGRR; none = corner colour
  std::string over;                       // --over: the picture composed over, "" = the flat colour
  bool gifAnimated = false;               // --gif animated
  std::int16_t gifInterval = 10;          // --interval in hundredths of a second (animated GIF or WebP)
  bool intervalGiven = false;             // --interval was given (else a project's interval counts)
  output::PlaySettings play;              // --plays, --hold, --preset, --border
  bool playsGiven = false;                // --plays was given (else a preset picks the count)
  bool borderGiven = false;               // --border was given, "none" included (else amazon draws grey)
  bool playOptions = false;               // any of --plays, --hold, --preset was given
  std::optional<std::size_t> maxBytes;    // --max-bytes: fit the animated GIF into this many bytes
  std::optional<UiLanguage> language;     // --lang: the language of the picture's messages
  bool help = false;                      // --help: print the usage and do nothing else
  bool largePictures = false;             // --large-pictures: SOURCE may be up to 1200 x 1200
  std::optional<std::string> check;       // --check FILE: read FILE against --preset, write nothing
};

struct ParsedArgs {
  std::optional<RenderArgs> args;  // set when the command line is valid
  std::string error;               // one line saying what is wrong otherwise
};

// Options may stand before, between or after the two names, as "--name value"
// or "--name=value"; "--" ends the options. Never throws.
ParsedArgs parseRenderArgs(const std::vector<std::string>& args);

// "RRGGBB", six hex digits with red first as in web colours, to 0x00BBGGRR;
// nullopt for anything else.
std::optional<core::Color> parseWebColor(const std::string& text);

// The --help text.
std::string renderUsage();

// Runs brenlo-render with the arguments after the program name. Prints the
// files written to `out`, one full path a line; with --plays, --hold or
// --preset an animated GIF or WebP is followed by a line saying what it does
// and, with a preset, whether it keeps to it. A preset raises a shorter
// interval to its minimum and, without --plays, picks the largest play count
// that keeps within it, as choosing it in the dialog does. With a byte
// budget (--max-bytes, else the preset's) the animated GIF is fitted into it
// and one line gives the fitted file's bytes and PSNR. Returns 0 on success,
// 2 for a bad command line (one line on `err`), 1 when the source cannot be
// loaded or is too large (the program's message on `err`, in the language of
// --lang or else of `system`, see chooseTerminalLanguage) or a file cannot
// be written, 3 when the animated GIF was written but breaks its preset or
// does not fit its budget even at the lowest quality (the closest file is
// written all the same).
// With --check FILE it writes nothing: it reads FILE (any GIF or WebP) as
// browsers play it, prints its figures and each rule of --preset kept or
// broken, and returns 0 when every rule is kept, 3 when one is broken, 1 when
// FILE cannot be read.
// `encoder` replaces the animated GIF's encoder (tests count its calls).
int runRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const QLocale& system = QLocale::system(), const save::AnimationEncoder& encoder = {});

}  // namespace app
