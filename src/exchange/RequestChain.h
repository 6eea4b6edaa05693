#pragma once

#include <cstdint>

namespace kestrava {

// A request made of several commands, each sent by the reply (or the silence) of the one
// before it. The exchange runs the whole chain; the one who asked hears of it once, when it has
// ended, with the outcome of the command that ended it.
enum class RequestChain : std::uint8_t {
    // The main information, then the motherboard's (code 4 or 0 only), asked again every 2 s
    // until it answers or four retries ran out. No arguments.
    MainInformation,
    // Every page of the file list from the first, until a page is not full (or the one-byte
    // position reaches its end). No arguments.
    FileList,
    // The recording state, then the format when the receiver is not recording. No arguments.
    Format,
    // The download of one file, block by block, until the receiver reports the end or a
    // failure, or the copy cannot go on. Arguments: requestargs::StartDownload.
    Download,
    // The voice block read for a set, then the voice type set with the rest of the block kept.
    // Arguments: requestargs::SetVoiceType.
    VoiceType,
    // As VoiceType, for the volume. Arguments: requestargs::SetVolume.
    Volume,
    // The file naming set, then read back. Arguments: requestargs::SetFileNaming.
    FileNaming,
    // The store location read, then the RINEX flag read (also when the location is silent).
    // No arguments.
    ReadStoreLocation,
    // The store location set, then the RINEX flag set as StoredSettings holds it (through the
    // voice block). Arguments: requestargs::SetStoreLocation.
    SetStoreLocation,
};

} // namespace kestrava
