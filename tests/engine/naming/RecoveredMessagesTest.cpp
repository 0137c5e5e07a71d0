#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/RecoveryRun.h"
#include "engine/naming/DateText.h"
#include "engine/naming/FileNaming.h"
#include "mailinfo/MailInfo.h"
#include "platform/Files.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/FileTimesProbe.h"
#include "tests/support/RecoveryRun.h"

namespace {

struct Message {
  std::string bytes;
  std::u16string subject;
  std::u16string receivedDate;
};

// Routing lines enough to push the rest of the header past the first 512-byte block.
std::string ManyReceivedLines() {
  std::string lines;
  for (int hop = 0; hop < 12; ++hop) {
    lines += "Received: from relay" + std::to_string(hop) + ".example.jp by relay" + std::to_string(hop + 1) +
             ".example.jp with SMTP;\r\n\tTue, 1 Jan 2002 10:05:0" + std::to_string(hop % 10) + " +0900\r\n";
  }
  return lines;
}

TEST(AnalyseHeader, NamesAndDatesTheMessagesRecoveredFromAStore) {
  const std::vector<Message> messages = {
      {"Received: from mx.example.jp by mail.example.jp; Mon, 25 Dec 2000 09:00:00 +0900\r\n"
       "Subject: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=\r\n =?ISO-2022-JP?B?GyRCJWEhPCVrGyhC?=\r\n"
       "Date: Mon, 25 Dec 2000 08:59:00 +0900\r\n\r\nbody\r\n",
       u"テストメール", u"2000/12/25 09:00:00"},
      {ManyReceivedLines() + "Subject: \x83\x65\x83\x58\x83\x67\r\nDate: 1 Jan 2002 10:05:03 +0900\r\n\r\n" +
           std::string(2000, 'b'),
       u"テスト", u"2002/01/01 10:05:00"},
      {"From: a@example.jp\r\nDate: 01 Jan 2002 10:05:03 +0900\r\n\r\nSubject: not a header\r\n", u"(件名なし)",
       u"2002/01/01 10:05:03"},
      {"From: a@example.jp\r\nSubject: =?iso-2022-jp?B?GyRCJUYbKEKC?=\r\nDate: Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\n",
       u"[不明]", u"[不明]"},
  };
  const testsupport::TempFolder folder;
  testsupport::DbxWriter writer;
  for (const auto& message : messages) writer.AppendMessage(message.bytes);
  const auto store = folder.Path() / "Inbox.dbx";
  writer.Save(store);

  testsupport::RecordingUi ui(folder.Path().u16string());
  const auto run = testsupport::RunRecovery(store, ui);
  ASSERT_EQ(run.files.size(), messages.size());
  ASSERT_EQ(run.records.size(), messages.size());

  for (std::size_t i = 0; i < run.records.size(); ++i) {
    SCOPED_TRACE(i);
    const Message& message = messages[i];
    EXPECT_EQ(platform::ToUtf8(run.records[i].FileName), platform::ToUtf8(FileNameText(message.subject) + u".eml"));
    const auto times = testsupport::ReadFileTimes(testsupport::FileOf(run, run.records[i]).u16string());
    ASSERT_TRUE(times);
    if (const std::optional<MailDate> date = DateTextToDate(message.receivedDate))
      EXPECT_EQ(times->lastWrite, DateToFileTime(*date));
    else
      EXPECT_EQ(message.receivedDate, u"[不明]");
  }
}

}  // namespace
