#include "comm/checksums.h"
#include "comm/frames.h"

#include <QtTest>

// Frames and reply checks of the three protocols, byte for byte.
class tst_Frames : public QObject {
    Q_OBJECT
private slots:
    void requestFrames_data();
    void requestFrames();
    void replyChecks_data();
    void replyChecks();
    void replyAnswers_data();
    void replyAnswers();
    void requestFunctions();
    void hexValueTreatsForeignDigitsAsZero();
};

namespace {

QByteArray rtu(QByteArray frame)
{
    appendCrc16(frame);
    return frame;
}

QByteArray asc(QByteArray frame)
{
    appendLrc(frame);
    return frame;
}

QByteArray zr(QByteArray frame, int mode = 1)
{
    appendSumCheck(frame, mode);
    return frame;
}

const QByteArray st01("01");

// A character-protocol entry as the command table holds it: protocol byte, code, body.
QByteArray entry(int protocol, const QByteArray &code, const QByteArray &body)
{
    return char(protocol) + code + body;
}

} // namespace

void tst_Frames::requestFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("rtu_read_p0_standard_example") << rtu(frames::rtuReadParameter(1, 0))
                                                  << QByteArray::fromHex("010300000001840A");
    QTest::newRow("rtu_read_p188") << rtu(frames::rtuReadParameter(1, 188)) << QByteArray::fromHex("010300BC000145EE");
    QTest::newRow("rtu_write_p77_station2") << rtu(frames::rtuWriteParameter(2, 77, 0x1234))
                                            << QByteArray::fromHex("0206004D12341499");
    QTest::newRow("rtu_write_negative_masked") << rtu(frames::rtuWriteParameter(1, 4, -1))
                                               << QByteArray::fromHex("01060004FFFFC9BB");
    QTest::newRow("rtu_registers_typecode_block") << rtu(frames::rtuReadRegisters(10, 0x1200, 2))
                                                  << QByteArray::fromHex("0A0312000002C008");
    QTest::newRow("rtu_command_sends_five_body_bytes")
        << rtu(frames::rtuCommand(1, QByteArray::fromHex("01") + "MCR" + QByteArray::fromHex("03000000010000")))
        << QByteArray::fromHex("010300000001840A");

    QTest::newRow("asc_read_p188") << asc(frames::ascReadParameter(st01, 188)) << QByteArray(":010300BC00013F\r\n");
    QTest::newRow("asc_read_p5_address") << asc(frames::ascReadParameter(st01, 5)) << QByteArray(":010300050001F6\r\n");
    QTest::newRow("asc_read_p300_address") << asc(frames::ascReadParameter(st01, 300))
                                           << QByteArray(":0103012C0001CE\r\n");
    QTest::newRow("asc_write_value_masked_to_16_bits") << asc(frames::ascWriteParameter("1F", 77, 0x12345))
                                                       << QByteArray(":1F06004D234526\r\n");
    QTest::newRow("asc_registers_count_digit") << asc(frames::ascReadRegisters(st01, 0x1200, 2))
                                               << QByteArray(":010312000002E8\r\n");
    QTest::newRow("asc_command") << asc(frames::ascCommand(st01, entry(2, "MCR", "0300050001")))
                                 << QByteArray(":010300050001F6\r\n");

    QTest::newRow("zr_read_p5_cr") << zr(frames::zrReadParameter(st01, 5)) << QByteArray("\x05" "01050F6\r");
    QTest::newRow("zr_read_no_terminator") << zr(frames::zrReadParameter(st01, 5), 0) << QByteArray("\x05" "01050F6");
    QTest::newRow("zr_read_crlf") << zr(frames::zrReadParameter(st01, 5), 2) << QByteArray("\x05" "01050F6\r\n");
    QTest::newRow("zr_read_before_station_chosen") << zr(frames::zrReadParameter(QByteArray(2, '\0'), 5))
                                                   << QByteArray("\x05\0\0" "05095\r", 9);
    QTest::newRow("zr_write_index_plus_80h") << zr(frames::zrWriteParameter(st01, 5, 0x64))
                                             << QByteArray("\x05" "018500064C8\r");
    QTest::newRow("zr_write_masked") << zr(frames::zrWriteParameter(st01, 5, 0x10064))
                                     << QByteArray("\x05" "018500064C8\r");
    QTest::newRow("zr_select_page_1") << zr(frames::zrSelectPage(st01, 1)) << QByteArray("\x05" "01FF00001DE\r");
    QTest::newRow("zr_select_page_15") << zr(frames::zrSelectPage(st01, 15)) << QByteArray("\x05" "01FF0000FF3\r");
    QTest::newRow("zr_read_page") << zr(frames::zrReadPage(st01)) << QByteArray("\x05" "017F00E\r");
    QTest::newRow("zr_type_code_sums_its_cr") << zr(frames::zrTypeCode(st01)) << QByteArray("\x05" "016A007\r7C\r");
    QTest::newRow("zr_command") << zr(frames::zrCommand("0A", entry(0, "MCR", "7B0"))) << QByteArray("\x05" "0A7B01A\r");
}

void tst_Frames::requestFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    QCOMPARE(frame.toHex(' '), expected.toHex(' '));
}

void tst_Frames::replyChecks_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("mode"); // terminator mode, or the expected length for Modbus RTU
    QTest::addColumn<int>("function"); // of the request a Modbus reply answers
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("count"); // what the port delivered; -1 = discarded as too long
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("error");

    const QByteArray data12("\x02" "011388" "2\x03" "67\r");
    QTest::newRow("zr_data_reply_cr") << 0 << 1 << 0 << data12 << 12 << 12 << false;
    QTest::newRow("zr_data_reply_crlf_in_cr_mode") << 0 << 1 << 0 << data12 + '\n' << 13 << 0 << true;
    QTest::newRow("zr_data_reply_crlf_mode2") << 0 << 2 << 0 << data12 + '\n' << 13 << 13 << false;
    QTest::newRow("zr_mode0_replies_end_crlf") << 0 << 0 << 0 << data12 + '\n' << 13 << 13 << false;
    QTest::newRow("zr_mode0_reply_with_cr_only") << 0 << 0 << 0 << data12 << 12 << 0 << true;
    QTest::newRow("zr_wrong_sum") << 0 << 1 << 0 << QByteArray("\x02" "011388" "2\x03" "68\r") << 12 << 0 << true;
    QTest::newRow("zr_unchecked_character_before_sum") << 0 << 1 << 0 << QByteArray("\x02" "011388" "2Z" "67\r") << 12
                                                       << 12 << false;
    QTest::newRow("zr_ack") << 0 << 1 << 0 << QByteArray("\x06" "01\r") << 4 << 4 << false;
    QTest::newRow("zr_nak_is_refusal") << 0 << 1 << 0 << QByteArray("\x15" "012\r") << 5 << 5 << true;
    QTest::newRow("zr_nothing") << 0 << 1 << 0 << QByteArray() << 0 << 0 << true;
    QTest::newRow("zr_too_short_ack") << 0 << 1 << 0 << QByteArray("\x06") << 1 << 0 << true;
    QTest::newRow("zr_too_short_stx_crlf") << 0 << 2 << 0 << QByteArray("\x02\r\n") << 3 << 0 << true;
    QTest::newRow("zr_discarded_is_nothing") << 0 << 1 << 0 << QByteArray() << -1 << 0 << true;

    QTest::newRow("asc_read_reply") << 2 << 1 << 3 << QByteArray(":0103021234B4\r\n") << 15 << 15 << false;
    QTest::newRow("asc_write_echo") << 2 << 1 << 6 << QByteArray(":0106006401F4A0\r\n") << 17 << 17 << false;
    QTest::newRow("asc_wrong_lrc") << 2 << 1 << 3 << QByteArray(":0103021234B5\r\n") << 15 << 0 << true;
    QTest::newRow("asc_no_crlf") << 2 << 1 << 3 << QByteArray(":0103021234B4\r\r") << 15 << 0 << true;
    QTest::newRow("asc_exception") << 2 << 1 << 3 << QByteArray(":0183017B\r\n") << 11 << 11 << true;
    QTest::newRow("asc_write_exception") << 2 << 1 << 6 << QByteArray(":01860376\r\n") << 11 << 11 << true;
    QTest::newRow("asc_exception_wrong_lrc") << 2 << 1 << 3 << QByteArray(":0183017C\r\n") << 11 << 0 << true;
    QTest::newRow("asc_too_short") << 2 << 1 << 3 << QByteArray(":010\r\n") << 6 << 0 << true;
    // A function the request did not ask for is a damaged reply, whatever its LRC says.
    QTest::newRow("asc_unknown_function_wrong_lrc") << 2 << 1 << 3 << QByteArray(":0104021234B4\r\n") << 15 << 0
                                                    << true;
    QTest::newRow("asc_unknown_function_valid_lrc") << 2 << 1 << 3 << QByteArray(":0104021234B3\r\n") << 15 << 0
                                                    << true;
    QTest::newRow("asc_other_known_function") << 2 << 1 << 3 << QByteArray(":0106021234B1\r\n") << 15 << 0 << true;
    QTest::newRow("asc_exception_of_another_function") << 2 << 1 << 3 << QByteArray(":01860376\r\n") << 11 << 0
                                                       << true;

    QTest::newRow("rtu_read_reply") << 1 << 7 << 3 << QByteArray::fromHex("0103021234B533") << 7 << 7 << false;
    QTest::newRow("rtu_write_echo") << 1 << 8 << 6 << QByteArray::fromHex("0106006401F4C802") << 8 << 8 << false;
    QTest::newRow("rtu_wrong_crc") << 1 << 7 << 3 << QByteArray::fromHex("0103021234B534") << 7 << 0 << true;
    QTest::newRow("rtu_exception") << 1 << 7 << 3 << QByteArray::fromHex("018302C0F1") << 5 << 5 << true;
    QTest::newRow("rtu_write_exception") << 1 << 8 << 6 << QByteArray::fromHex("0186030261") << 5 << 5 << true;
    QTest::newRow("rtu_exception_wrong_crc") << 1 << 7 << 3 << QByteArray::fromHex("018302C0F2") << 5 << 0 << true;
    QTest::newRow("rtu_short_reply_fails_crc") << 1 << 7 << 3 << QByteArray::fromHex("010302") << 3 << 0 << true;
    QTest::newRow("rtu_nothing") << 1 << 7 << 3 << QByteArray() << 0 << 0 << true;
    QTest::newRow("rtu_discarded_is_nothing") << 1 << 7 << 3 << QByteArray() << -1 << 0 << true;
    QTest::newRow("rtu_unknown_function_wrong_crc") << 1 << 7 << 3 << QByteArray::fromHex("0113021234B533") << 7 << 0
                                                    << true;
    QTest::newRow("rtu_unknown_function_valid_crc") << 1 << 7 << 3 << QByteArray::fromHex("0113021234B1F3") << 7 << 0
                                                    << true;
    QTest::newRow("rtu_other_known_function") << 1 << 8 << 3 << QByteArray::fromHex("0106006401F4C802") << 8 << 0
                                              << true;
    QTest::newRow("rtu_exception_of_another_function") << 1 << 7 << 3 << QByteArray::fromHex("0186030261") << 5 << 0
                                                       << true;
}

void tst_Frames::replyChecks()
{
    QFETCH(int, protocol);
    QFETCH(int, mode);
    QFETCH(int, function);
    QFETCH(QByteArray, reply);
    QFETCH(int, count);
    QFETCH(int, result);
    QFETCH(bool, error);

    // As the receivers see it: a zero-filled buffer with room for one more byte.
    QByteArray buffer(64, '\0');
    buffer.replace(0, reply.size(), reply);
    bool replyError = !error;
    if (protocol == 1)
        QCOMPARE(frames::checkBinaryReply(buffer.constData(), count, mode, quint8(function), &replyError), result);
    else
        QCOMPARE(frames::checkTextReply(protocol, buffer.constData(), count, mode, quint8(function), &replyError),
                 result);
    QCOMPARE(replyError, error);
}

void tst_Frames::replyAnswers_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QByteArray>("request"); // as sent
    QTest::addColumn<int>("expected");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("answers");

    const QByteArray rtuRead = rtu(frames::rtuReadParameter(1, 7));
    QTest::newRow("rtu_read") << 1 << rtuRead << 7 << rtu(QByteArray::fromHex("0103020005")) << true;
    QTest::newRow("rtu_read_other_station") << 1 << rtuRead << 7 << rtu(QByteArray::fromHex("0203020005")) << false;
    QTest::newRow("rtu_read_two_words_for_one") << 1 << rtuRead << 7 << rtu(QByteArray::fromHex("01030400050006"))
                                                << false;
    QTest::newRow("rtu_refusal") << 1 << rtuRead << 7 << rtu(QByteArray::fromHex("018302")) << true;

    const QByteArray ascRead = asc(frames::ascReadParameter(st01, 188));
    QTest::newRow("asc_read") << 2 << ascRead << 15 << QByteArray(":0103021234B4\r\n") << true;
    QTest::newRow("asc_read_other_station") << 2 << ascRead << 15 << QByteArray(":0203021234B3\r\n") << false;
    QTest::newRow("asc_read_two_words_for_one") << 2 << ascRead << 15 << QByteArray(":01030412340000B2\r\n")
                                                << false;
    QTest::newRow("asc_refusal") << 2 << ascRead << 15 << QByteArray(":0183017B\r\n") << true;

    const QByteArray zrRead = zr(frames::zrReadParameter(st01, 5));
    const QByteArray zrWrite = zr(frames::zrWriteParameter(st01, 5, 100));
    const int data = frames::zrDataReplyLength(1);
    const int ack = frames::zrPositiveReplyLength(1);
    QTest::newRow("zr_read_data") << 0 << zrRead << data << QByteArray("\x02" "011388" "2\x03" "67\r") << true;
    QTest::newRow("zr_read_acknowledged") << 0 << zrRead << data << QByteArray("\x06" "01\r") << false;
    QTest::newRow("zr_read_refused") << 0 << zrRead << data << QByteArray("\x15" "01C\r") << true;
    QTest::newRow("zr_write_acknowledged") << 0 << zrWrite << ack << QByteArray("\x06" "01\r") << true;
    QTest::newRow("zr_write_data") << 0 << zrWrite << ack << QByteArray("\x02" "011388" "2\x03" "67\r") << false;
    QTest::newRow("zr_write_refused") << 0 << zrWrite << ack << QByteArray("\x15" "01C\r") << true;
    QTest::newRow("zr_refusal_other_station") << 0 << zrWrite << ack << QByteArray("\x15" "02C\r") << false;
}

// What the link takes as the answer to its request: station, a read's byte count, the reply's kind.
void tst_Frames::replyAnswers()
{
    QFETCH(int, protocol);
    QFETCH(QByteArray, request);
    QFETCH(int, expected);
    QFETCH(QByteArray, reply);
    QFETCH(bool, answers);
    QCOMPARE(frames::replyAnswers(protocol, request, reply.constData(), reply.size(), expected), answers);
}

void tst_Frames::requestFunctions()
{
    QCOMPARE(int(frames::requestFunction(frames::rtuReadParameter(1, 5), true)), 0x03);
    QCOMPARE(int(frames::requestFunction(frames::rtuWriteParameter(1, 5, 7), true)), 0x06);
    QCOMPARE(int(frames::requestFunction(frames::ascReadParameter(st01, 5), false)), 0x03);
    QCOMPARE(int(frames::requestFunction(frames::ascWriteParameter(st01, 5, 7), false)), 0x06);
}

void tst_Frames::hexValueTreatsForeignDigitsAsZero()
{
    QCOMPARE(frames::hexValue("1388", 4), 0x1388);
    QCOMPARE(frames::hexValue("ffFF", 4), 0xFFFF);
    QCOMPARE(frames::hexValue("1G", 2), 0x10);
}

QTEST_GUILESS_MAIN(tst_Frames)
#include "tst_frames.moc"
