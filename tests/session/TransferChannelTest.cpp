// The transfer session: ".SAVETO" and ".GETFILE" lines, their answers and headers however they
// are split, the one retry of a download, and the raw body calls.
#include "tests/session/SessionPeerFixture.h"

namespace ostrana::test {
namespace {

class TransferChannelTest : public SessionPeerTest {
protected:
    ScriptedPeer& AcceptTransferSession() { return peer.Accept().WaitFor("\r\n\r\n").Send("ostrana 1 [demo]\n"); }

    std::string TransferSent(std::size_t connection = 0) {
        session.Reset();
        EXPECT_TRUE(peer.WaitClosedByClient(connection));
        std::string received = peer.Received(connection);
        EXPECT_EQ(received.substr(0, kFileActionPost.size()), kFileActionPost);
        return received.substr(kFileActionPost.size());
    }

    char buffer[ServerSession::kReceiveBlock] = {};
    int firstBlock = -7;
    std::int32_t fileSize = -7;
};

TEST_F(TransferChannelTest, UploadSendsItsLineAndTheBodyAfterAnAcceptingAnswer) {
    AcceptTransferSession().WaitFor("\n").SendBytewise(".OK\n").WaitFor("hello").Send(".OK\n").Start();
    EXPECT_EQ(session.BeginUpload("myfolder/", Utf8ToLocal("문서.txt"), 5), 1);
    EXPECT_EQ(session.SendBody("hello", 5), 5);
    session.FinishTransferFile(false);
    EXPECT_TRUE(session.IsTransferOpen());
    EXPECT_EQ(TransferSent(), ".SAVETO \"myfolder/\xEB\xAC\xB8\xEC\x84\x9C.txt\" 5\nhello");
}

TEST_F(TransferChannelTest, RefusedUploadClosesTheTransferConnection) {
    AcceptTransferSession().WaitFor("\n").Send(".ERR quota\n").Start();
    EXPECT_EQ(session.BeginUpload("myfolder/", "big.bin", 1 << 30), 0);
    EXPECT_FALSE(session.IsTransferOpen());
    EXPECT_TRUE(peer.WaitClosedByClient(0));
    EXPECT_EQ(session.SendBody("x", 1), 0) << "nothing is sent on a closed transfer connection";
    EXPECT_EQ(session.ReceiveBody(buffer, 1), 0);
}

TEST_F(TransferChannelTest, DownloadHeaderSplitAcrossReceivesIsReadWhole) {
    AcceptTransferSession().WaitFor("\n").SendBytewise(".OK 12\nhello").Send(" world!.OK\n").Start();
    ASSERT_EQ(session.BeginDownload("myfolder/a.txt", buffer, firstBlock, fileSize), 1);
    EXPECT_EQ(fileSize, 12);
    // However the receives fall, the first block holds at most the file and its 4-byte trailer,
    // and only file bytes reach the buffer.
    ASSERT_GE(firstBlock, 0);
    ASSERT_LE(firstBlock, 16);
    std::string body(buffer, static_cast<std::size_t>(std::min(firstBlock, 12)));
    while (body.size() < 12) {
        int got = session.ReceiveBody(buffer, static_cast<int>(12 - body.size()));
        ASSERT_GT(got, 0);
        body.append(buffer, static_cast<std::size_t>(got));
    }
    EXPECT_EQ(body, "hello world!");
    if (firstBlock <= 12) {
        session.FinishTransferFile(false); // the trailer is still on the connection
    }
    EXPECT_EQ(TransferSent(), ".GETFILE \"myfolder/a.txt\"\n");
}

TEST_F(TransferChannelTest, AWholeFileInTheFirstBlockCountsItsTrailer) {
    AcceptTransferSession().WaitFor("\n").Send(".OK 10\n0123456789.OK\n").Start();
    ASSERT_EQ(session.BeginDownload("myfolder/ten", buffer, firstBlock, fileSize), 1);
    EXPECT_EQ(fileSize, 10);
    EXPECT_EQ(firstBlock, 14);
    EXPECT_EQ(std::string(buffer, 10), "0123456789");
    EXPECT_EQ(buffer[10], '\0') << "trailer bytes never reach the buffer";
}

TEST_F(TransferChannelTest, ACutTrailerIsReadToItsEndBeforeTheNextFile) {
    AcceptTransferSession()
        .WaitFor("\n").Send(".OK 3\nabc.O").Send("K\n")
        .WaitFor("\n").Send(".OK 2\nxy.OK\n")
        .Start();
    ASSERT_EQ(session.BeginDownload("myfolder/a", buffer, firstBlock, fileSize), 1);
    EXPECT_EQ(fileSize, 3);
    EXPECT_GT(firstBlock, fileSize);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    ASSERT_EQ(session.BeginDownload("myfolder/b", buffer, firstBlock, fileSize), 1);
    EXPECT_EQ(fileSize, 2);
    EXPECT_EQ(std::string(buffer, 2), "xy");
}

TEST_F(TransferChannelTest, ADownloadWithoutAnswerIsRetriedOnceOnAFreshConnection) {
    AcceptTransferSession().WaitFor("\n").Close()
        .Accept().WaitFor("\r\n\r\n").Send("ostrana 1 [demo]\n").WaitFor("\n").Send(".OK 0\n")
        .Start();
    ASSERT_EQ(session.BeginDownload("myfolder/empty", buffer, firstBlock, fileSize), 1);
    EXPECT_EQ(fileSize, 0);
    EXPECT_EQ(firstBlock, 0);
    EXPECT_EQ(peer.ConnectionCount(), 2u);
    EXPECT_EQ(TransferSent(1), ".GETFILE \"myfolder/empty\"\n");
}

TEST_F(TransferChannelTest, ARefusedDownloadClosesTheTransferConnection) {
    AcceptTransferSession().WaitFor("\n").Send(".ERR no such file\n").Start();
    EXPECT_EQ(session.BeginDownload("myfolder/none", buffer, firstBlock, fileSize), 0);
    EXPECT_FALSE(session.IsTransferOpen());
}

TEST_F(TransferChannelTest, APeerClosingInTheMiddleOfABodyFailsTheReceive) {
    AcceptTransferSession().WaitFor("\n").Send(".OK 100\nabc").Close().Start();
    ASSERT_EQ(session.BeginDownload("myfolder/a", buffer, firstBlock, fileSize), 1);
    EXPECT_EQ(firstBlock, 3);
    EXPECT_EQ(session.ReceiveBody(buffer, 97), -1);
}

TEST_F(TransferChannelTest, CancelClosesTheTransferConnection) {
    AcceptTransferSession().WaitFor("\n").Send(".OK\n").Start();
    ASSERT_EQ(session.BeginUpload("myfolder/", "a", 10), 1);
    session.FinishTransferFile(true);
    EXPECT_FALSE(session.IsTransferOpen());
    EXPECT_TRUE(peer.WaitClosedByClient(0));
}

TEST_F(TransferChannelTest, LineBreaksInTransferPathsSendNothing) {
    AcceptTransferSession().WaitFor("\n").Send(".OK\n").Start();
    EXPECT_EQ(session.BeginUpload("myfolder/", "a\n.GETFILE \"x\"", 1), 0);
    EXPECT_EQ(session.BeginDownload("myfolder/a\r", buffer, firstBlock, fileSize), 0);
    EXPECT_EQ(peer.ConnectionCount(), 0u);
    EXPECT_EQ(session.BeginUpload("myfolder/", "a", 1), 1);
    EXPECT_EQ(TransferSent(), ".SAVETO \"myfolder/a\" 1\n");
}

} // namespace
} // namespace ostrana::test
