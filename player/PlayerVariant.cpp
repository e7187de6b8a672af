#include "player/PlayerVariant.h"

#include "core/protocol/ProgramProtocol.h"

namespace {

// The filters hold their pairs separated by nulls and end with two nulls.
constexpr char kStreamBufferFilter[] = "DVR-MS(*.dvr-ms)\0*.dvr-ms\0";
constexpr char kTransportStreamFilter[] = "TS(*.ts);TP(*.tp)\0*.ts;*.tp\0";

constexpr PlayerVariant kStreamBuffer{PlayerKind::StreamBuffer, ProgramProtocol::kPlayerTitle,
                                      "TelvantisPlay Version 1.43", kStreamBufferFilter, true,
                                      false};
constexpr PlayerVariant kTransportStream{PlayerKind::TransportStream,
                                         ProgramProtocol::kPlayerTsTitle,
                                         "TelvantisPlayTS Version 1.1", kTransportStreamFilter,
                                         false, true};

}  // namespace

const PlayerVariant& PlayerVariant::For(PlayerKind kind) {
  return kind == PlayerKind::TransportStream ? kTransportStream : kStreamBuffer;
}
