// Progress reporting shared by the image filters and the 256-colour reduction.
// A long image operation calls the ProgressFn it was given with a stage and a
// percentage 0..100; the GUI turns these into its progress window.
#pragma once

#include <functional>

namespace hueloom::image {

enum class ProgressStage { Starting, Running, Ending };

using ProgressFn = std::function<void(ProgressStage stage, int percentDone)>;

}  // namespace hueloom::image
