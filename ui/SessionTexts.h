#pragma once
// The window's words for what the cut session reports: the option rules'
// notices, why an entry was not cut, and the notices of a batch.

#include <QString>
#include <string>
#include <vector>

#include "cut/CutSession.h"

namespace kelmora {

QString ruleNoticeText(RuleNotice notice);

// The system's reason for an error number, in the window's Japanese for the
// reasons a user meets with folders and files, else in the system's words.
QString systemReasonText(int error);

// Why an entry was not cut whole, in a few words: the extractor's own where it gave them.
QString reasonText(const CutFailure& failure);

// What a run that wrote its images adds to its "done" in the list: repeats
// left out, key frames stood in for, damaged input, a rate changed; empty when
// it went as asked.
QString doneNoteText(const CutEntryResult& result);

// The notice after a batch with entries not cut whole: the heading, then the
// entries one a line with their reason, at most ten, then "ほか N 件" for the rest.
QString failedRunsNotice(const std::vector<FailedEntry>& failed);

// The notice of a destination that cannot take images (folder as the session named it).
QString destinationNotice(const std::string& folder, DestinationProblem problem, int error);

// The notice of an extractor that could not be started.
QString notStartedNotice(const std::string& program);

// The notice of a batch that ended on an error.
QString abortedNotice();

}  // namespace kelmora
