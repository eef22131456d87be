// The new files a verb writes from its input (a channel list, a report, a
// radio image, a data file): what it may replace without being told to.
#pragma once

#include <string>
#include <vector>

namespace cps {

// What a verb makes when it writes a new file from its input.
enum class OutputKind { DataFile, ChannelList, Report, RadioImage };

// Why `output` must not be written, empty when it may: it is one of the
// `inputs` (under any name or link), or it holds a data file or side file of
// this program that a verb of another kind would destroy, or it holds
// something that is not of the verb's own kind (a notes file where a channel
// list goes). An empty file, or one of the verb's own kind, may be replaced.
// `force` allows everything but a file the user may not write.
std::string OutputFileProblem(const std::string& output, OutputKind kind,
                              const std::vector<std::string>& inputs, bool force);

}  // namespace cps
