#pragma once
// The extractor's progress and the prober's answer are read in cut/, where the
// window reads them too; kelmora-cli knows them by these names.

#include "cut/ExtractorProgress.h"

namespace kelmora::cli {

using kelmora::ExtractorProgress;
using kelmora::parseProbedDuration;
using kelmora::ProbeAnswer;
using kelmora::probeDurationArguments;

}  // namespace kelmora::cli
