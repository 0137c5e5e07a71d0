#include "engine/BatchReport.h"

#include <algorithm>
#include <vector>

#include "engine/RunReport.h"
#include "engine/naming/DecimalText.h"

namespace {

// Store lines a message box shows before it grows past the screen.
constexpr std::size_t kMessageBoxLines = 20;

std::u16string Number(std::int64_t value) { return DecimalText(value); }

bool Listed(const StoreReport& store) { return store.fate != StoreFate::Problem; }

bool FoundAny(const StoreReport& store) { return store.fate == StoreFate::Recovered && FoundAny(store.outcome); }

std::u16string StoreLine(const StoreReport& store, Language language) {
  const std::u16string& label = store.namedFolder.empty() ? store.name : store.namedFolder;
  switch (store.fate) {
    case StoreFate::Skipped:
      return Text(TextId::SkippedStore, language, {store.name});
    case StoreFate::NotStarted:
    case StoreFate::Problem:
      return Text(TextId::BatchStoreNotStarted, language, {label});
    case StoreFate::Recovered:
      break;
  }
  const RecoveryOutcome& outcome = store.outcome;
  if (outcome.result == RecoveryResult::StoreOpenFailed) return label + u": " + Text(TextId::StoreOpenFailed, language);
  if (outcome.result == RecoveryResult::FolderCreateFailed)
    return label + u": " + Text(TextId::FolderCreateFailed, language);
  std::u16string line =
      Text(TextId::BatchStoreLine, language,
           {label, Number(outcome.messageCount), Number(outcome.freedCount), Number(outcome.cutShortCount),
            Number(outcome.unreadableCount)});
  if (outcome.index == IndexUse::Whole)
    line += (language == Language::Japanese ? u"、" : u", ") +
            Text(TextId::BatchIndexCounts, language, {Number(outcome.deletedCount), Number(outcome.missingCount)});
  // A store whose writing stopped says how much of it was written, as a single run's report does; one
  // whose index could not be read says so.
  std::u16string more = WrittenText(outcome, language);
  if (outcome.index == IndexUse::NotWhole)
    more += (more.empty() || language == Language::Japanese ? u"" : u" ") + Text(TextId::IndexNotWhole, language);
  if (more.empty()) return line;
  return line + (language == Language::Japanese ? u"。" : u". ") + more;
}

std::u16string TotalsLine(const BatchOutcome& batch, Language language) {
  std::int64_t messages = 0, freed = 0, cutShort = 0, unreadable = 0;
  for (const StoreReport& store : batch.stores) {
    if (store.fate != StoreFate::Recovered) continue;
    messages += store.outcome.messageCount;
    freed += store.outcome.freedCount;
    cutShort += store.outcome.cutShortCount;
    unreadable += store.outcome.unreadableCount;
  }
  return Text(TextId::BatchTotals, language, {Number(messages), Number(freed), Number(cutShort), Number(unreadable)});
}

}  // namespace

bool FoundAny(const BatchOutcome& batch) {
  for (const StoreReport& store : batch.stores)
    if (FoundAny(store)) return true;
  return false;
}

std::u16string BatchReportText(const BatchOutcome& batch, Language language, bool forMessageBox, bool withResults) {
  std::vector<const StoreReport*> listed;
  for (const StoreReport& store : batch.stores)
    if (Listed(store)) listed.push_back(&store);
  const bool summed = forMessageBox && listed.size() > kMessageBoxLines;
  const std::u16string newline = forMessageBox ? u"\r\n" : u"\n";
  std::u16string text;
  if (batch.stopped) text += Text(TextId::Stopped, language) + newline;
  std::int64_t rest = 0;
  for (const StoreReport* store : listed) {
    if (summed && !FoundAny(*store)) {
      ++rest;
    } else {
      text += StoreLine(*store, language) + newline;
    }
  }
  if (rest > 0) text += Text(TextId::BatchRestWithoutMail, language, {Number(rest)}) + newline;
  if (batch.folderListUnreadable) text += Text(TextId::FolderListUnreadable, language) + newline;
  text += TotalsLine(batch, language);
  const bool listsAny = std::any_of(batch.stores.begin(), batch.stores.end(), [](const StoreReport& store) {
    return store.fate == StoreFate::Recovered && ListsAny(store.outcome);
  });
  if (withResults && listsAny) text += newline + Text(TextId::ResultsHint, language);
  if (forMessageBox && FoundAny(batch)) text += newline + Text(TextId::OpenFolderQuestion, language);
  return text;
}

void ReportBatch(RecoveryUi& ui, const BatchOutcome& batch) {
  if (batch.quit || batch.folderFailed) return;
  const std::u16string text = BatchReportText(batch, ui.TextLanguage(), true, ui.OffersResults());
  if (!FoundAny(batch)) {
    ui.ShowMessage({text, MessageIcon::Information, MessageButtons::Ok, {}});
    return;
  }
  if (ui.ShowMessage({text, MessageIcon::Question, MessageButtons::YesNo, {}}) == MessageAnswer::Yes)
    ui.OpenFolder(batch.runFolder);
}
