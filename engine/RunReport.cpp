#include "engine/RunReport.h"

#include <utility>
#include <vector>

#include "engine/naming/DecimalText.h"

namespace {

// Japanese sentences follow each other directly; English ones with a space between.
std::u16string Joined(const std::vector<std::u16string>& sentences, Language language) {
  std::u16string text;
  for (const std::u16string& sentence : sentences) {
    if (!text.empty() && language == Language::English) text += u' ';
    text += sentence;
  }
  return text;
}

}  // namespace

std::int64_t RoundedUpKilobytes(std::int64_t bytes) { return (bytes + 1023) / 1024; }

std::u16string WriteFailureText(const std::u16string& path, const std::u16string& reason, const std::u16string& leftover,
                                Language language) {
  const std::u16string text = Text(TextId::WriteFailed, language, {path, reason});
  return leftover.empty() ? text : text + u"\r\n" + Text(TextId::FileLeftBehind, language, {leftover});
}

std::u16string WrittenText(const RecoveryOutcome& outcome, Language language) {
  std::vector<std::u16string> sentences;
  if (outcome.unwrittenCount > 0)
    sentences.push_back(Text(TextId::WrittenOfFound, language,
                             {DecimalText(outcome.messageCount), DecimalText(outcome.messageCount - outcome.unwrittenCount)}));
  if (outcome.freedUnwrittenCount > 0)
    sentences.push_back(Text(TextId::FreedWrittenOfFound, language,
                             {DecimalText(outcome.freedCount + outcome.freedUnwrittenCount), DecimalText(outcome.freedCount)}));
  return Joined(sentences, language);
}

std::u16string IndexText(const RecoveryOutcome& outcome, Language language) {
  std::vector<std::u16string> sentences;
  if (outcome.index == IndexUse::NotWhole) sentences.push_back(Text(TextId::IndexNotWhole, language));
  if (outcome.index == IndexUse::Whole && outcome.listedCount == 0 && outcome.deletedCount > 0)
    sentences.push_back(Text(TextId::IndexListsNone, language));
  else if (outcome.deletedCount > 0)
    sentences.push_back(Text(TextId::DeletedCount, language, {DecimalText(outcome.deletedCount)}));
  if (outcome.missingCount > 0)
    sentences.push_back(Text(TextId::MissingOfListed, language,
                             {DecimalText(outcome.listedCount), DecimalText(outcome.missingCount)}));
  return Joined(sentences, language);
}

bool FoundAny(const RecoveryOutcome& outcome) {
  return outcome.messageCount > 0 || outcome.freedCount > 0 || outcome.freedUnwrittenCount > 0;
}

bool ListsAny(const RecoveryOutcome& outcome) {
  return outcome.index != IndexUse::Ignored &&
         outcome.messageCount - outcome.unwrittenCount + outcome.freedCount + outcome.missingCount > 0;
}

std::u16string ReportText(const RecoveryOutcome& outcome, Language language, bool withQuestion, bool withResults) {
  std::vector<std::u16string> sentences;
  if (outcome.stopped) sentences.push_back(Text(TextId::Stopped, language));
  const bool found = FoundAny(outcome);
  sentences.push_back(found ? Text(TextId::FoundCount, language, {DecimalText(outcome.messageCount)})
                            : Text(TextId::NothingFound, language));
  if (std::u16string written = WrittenText(outcome, language); !written.empty()) sentences.push_back(std::move(written));
  if (outcome.cutShortCount > 0)
    sentences.push_back(Text(TextId::CutShort, language, {DecimalText(outcome.cutShortCount)}));
  if (outcome.unreadableCount > 0)
    sentences.push_back(Text(TextId::Unreadable, language,
                             {DecimalText(outcome.unreadableCount), DecimalText(RoundedUpKilobytes(outcome.unreadableBytes))}));
  if (outcome.retriesStopped) sentences.push_back(Text(TextId::RetriesStopped, language));
  if (outcome.freedCount > 0)
    sentences.push_back(Text(TextId::FreedCount, language, {DecimalText(outcome.freedCount)}));
  if (outcome.pointerCheckRejects > 0 && outcome.messageCount < outcome.pointerCheckRejects)
    sentences.push_back(Text(TextId::PointerHint, language));
  if (outcome.missingSignature)
    sentences.push_back(Text(outcome.otherOutlookFile ? TextId::OtherOutlookFile : TextId::MissingSignature, language));
  if (std::u16string index = IndexText(outcome, language); !index.empty()) sentences.push_back(std::move(index));
  if (outcome.flushFailed) sentences.push_back(Text(TextId::MayNotBeOnDisk, language));
  if (withResults && ListsAny(outcome)) sentences.push_back(Text(TextId::ResultsHint, language));
  if (withQuestion && found) sentences.push_back(Text(TextId::OpenFolderQuestion, language));
  return Joined(sentences, language);
}
