#pragma once
// The report at the end of a run over several stores: a line for each store, then the totals.
#include <string>

#include "engine/RecoveryUi.h"
#include "engine/StoreBatch.h"

// Whether any store gave mail, kept or freed.
bool FoundAny(const BatchOutcome& batch);

// "中断しました。" first when the batch was stopped, then a line for each store (recovered, skipped or not
// started) and the totals. For a message box, which has room for a screenful only, a long list names
// the stores with mail and sums up the rest, and the question whether to open the folder comes last
// when mail was found; with results, where to look through the run's list comes before it when a store
// listed a row.
std::u16string BatchReportText(const BatchOutcome& batch, Language language, bool forMessageBox,
                               bool withResults = false);

// The report as a message box, opening the run folder on Yes; nothing when the window is closing.
void ReportBatch(RecoveryUi& ui, const BatchOutcome& batch);
