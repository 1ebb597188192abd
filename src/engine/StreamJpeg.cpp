#include "engine/StreamJpeg.h"

#include "dds/DdsReader.h"
#include "engine/ImageFile.h"
#include "engine/RunOrder.h"
#include "engine/SaveFlags.h"
#include "request/OutputDepth.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include <jpeglib.h>

namespace tarvix {
namespace {

// Rows per strip: a multiple of the block height and of the encoder's 8-row
// units; four strips in flight keep both threads busy with a few MiB at most.
constexpr uint32_t kStripRows = 64;
constexpr size_t kSlots = 4;
constexpr size_t kOutputBuffer = 64 * 1024;
constexpr uint64_t kAsideMinPixels = uint64_t(8) << 20;

// The quality bits the image library reads as named presets instead of a number.
constexpr int kQualityPresets = JPEG_QUALITYSUPERB | JPEG_QUALITYGOOD | JPEG_QUALITYNORMAL |
                                JPEG_QUALITYAVERAGE | JPEG_QUALITYBAD;

// Strips decoded ahead of the encoder. The decoding thread fills free slots in
// order; the encoder empties them in the same order.
class StripRing {
public:
    StripRing(const dds::StripReader& reader, size_t pitch)
        : reader_(reader), pitch_(pitch), strips_((reader.Height() + kStripRows - 1) / kStripRows) {
    }

    uint32_t Strips() const { return strips_; }
    bool ReadFailed() const { return failed_; }

    // With a decoding thread all slots are used; without one (a picture of one
    // strip, or no thread to be had) Take decodes each strip itself into one.
    void Prepare(bool threaded) {
        threaded_ = threaded;
        for (size_t i = 0; i < (threaded ? kSlots : 1); ++i)
            slots_[i].resize(pitch_ * std::min<uint32_t>(kStripRows, reader_.Height()));
    }

    // The decoding side: every strip in turn, until done, failed or cancelled.
    void Produce() {
        for (uint32_t k = 0; k < strips_; ++k) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return cancelled_ || k - consumed_ < kSlots; });
                if (cancelled_) return;
            }
            const uint32_t first = k * kStripRows;
            const uint32_t count = std::min(kStripRows, reader_.Height() - first);
            const bool ok = reader_.Decode(first, count, slots_[k % kSlots].data(), pitch_);
            std::lock_guard lock(mutex_);
            if (!ok) {
                failed_ = true;
                changed_.notify_all();
                return;
            }
            produced_ = k + 1;
            changed_.notify_all();
        }
    }

    // The encoding side: the rows of strip k once decoded; null when decoding
    // failed.
    uint8_t* Take(uint32_t k) {
        if (!threaded_) {
            const uint32_t first = k * kStripRows;
            failed_ = !reader_.Decode(first, std::min(kStripRows, reader_.Height() - first),
                                      slots_[0].data(), pitch_);
            return failed_ ? nullptr : slots_[0].data();
        }
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return failed_ || produced_ > k; });
        return produced_ > k ? slots_[k % kSlots].data() : nullptr;
    }

    void Release(uint32_t k) {
        std::lock_guard lock(mutex_);
        consumed_ = k + 1;
        changed_.notify_all();
    }

    void Cancel() {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        changed_.notify_all();
    }

private:
    const dds::StripReader& reader_;
    const size_t pitch_;
    const uint32_t strips_;
    std::vector<uint8_t> slots_[kSlots];
    std::mutex mutex_;
    std::condition_variable changed_;
    uint32_t produced_ = 0, consumed_ = 0;
    bool failed_ = false, cancelled_ = false, threaded_ = false;
};

// libjpeg's destination, writing into the pending output file.
struct Destination {
    jpeg_destination_mgr manager;
    PendingFile* file;
    JOCTET buffer[kOutputBuffer];
};

void InitDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->manager.next_output_byte = d->buffer;
    d->manager.free_in_buffer = kOutputBuffer;
}

boolean EmptyBuffer(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    // A failed write is kept by the file and reported at its commit; the
    // encoder just goes on.
    d->file->Write(d->buffer, kOutputBuffer);
    d->manager.next_output_byte = d->buffer;
    d->manager.free_in_buffer = kOutputBuffer;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->file->Write(d->buffer, kOutputBuffer - d->manager.free_in_buffer);
}

// The library never prints: its errors end the encoding through this jump.
struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void NoMessage(j_common_ptr, int) {}
void NoOutput(j_common_ptr) {}

// The library's settings for the flags, exactly as the image library sets them
// for a 24-bit picture, so the bytes written are the same.
void Configure(jpeg_compress_struct& cinfo, int flags, double dotsPerMeter) {
    cinfo.in_color_space = JCS_EXT_BGR; // FreeImage's byte order on this platform
    cinfo.input_components = 3;
    jpeg_set_defaults(&cinfo);
    if ((flags & JPEG_PROGRESSIVE) == JPEG_PROGRESSIVE) jpeg_simple_progression(&cinfo);
    if ((flags & JPEG_OPTIMIZE) == JPEG_OPTIMIZE) cinfo.optimize_coding = TRUE;
    const UINT16 density = UINT16(0.5 + 0.0254 * dotsPerMeter);
    cinfo.X_density = density;
    cinfo.Y_density = density;
    cinfo.density_unit = 1;
    if ((flags & JPEG_BASELINE) == JPEG_BASELINE) {
        cinfo.write_JFIF_header = 0;
        cinfo.write_Adobe_marker = 0;
    }
    // Luma sampling factors; chroma stays 1 x 1. Checked in the library's order.
    auto sampling = [&](int h, int v) {
        cinfo.comp_info[0].h_samp_factor = h;
        cinfo.comp_info[0].v_samp_factor = v;
        for (int c = 1; c < 3; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    };
    if ((flags & JPEG_SUBSAMPLING_411) == JPEG_SUBSAMPLING_411)
        sampling(4, 1);
    else if ((flags & JPEG_SUBSAMPLING_420) == JPEG_SUBSAMPLING_420)
        sampling(2, 2);
    else if ((flags & JPEG_SUBSAMPLING_422) == JPEG_SUBSAMPLING_422)
        sampling(2, 1);
    else if ((flags & JPEG_SUBSAMPLING_444) == JPEG_SUBSAMPLING_444)
        sampling(1, 1);
    const int quality = (flags & 0x7F) == 0 ? 75 : (flags & 0x7F);
    jpeg_set_quality(&cinfo, quality, TRUE);
}

bool ConfigureGuarded(jpeg_compress_struct& cinfo, ErrorManager& errors, int flags) {
    if (setjmp(errors.jump)) return false;
    // The density the whole-picture path writes into the JFIF header.
    Configure(cinfo, flags, kImageLibraryDotsPerMeter);
    return true;
}

// Encodes every strip of the ring. Kept free of objects with destructors: a
// library error jumps out of it.
bool Encode(jpeg_compress_struct& cinfo, ErrorManager& errors, StripRing& ring, uint32_t height,
            size_t pitch) {
    if (setjmp(errors.jump)) return false;
    jpeg_start_compress(&cinfo, TRUE);
    for (uint32_t k = 0; k < ring.Strips(); ++k) {
        uint8_t* strip = ring.Take(k);
        if (!strip) return false;
        const uint32_t rows = std::min(kStripRows, height - k * kStripRows);
        JSAMPROW pointers[kStripRows];
        for (uint32_t r = 0; r < rows; ++r)
            pointers[r] = strip + pitch * r;
        for (uint32_t done = 0; done < rows;)
            done += jpeg_write_scanlines(&cinfo, pointers + done, rows - done);
        ring.Release(k);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

bool CanStreamToJpeg(const ConversionRequest& request) {
    const Settings& s = request.settings;
    return request.options.allowStreaming && request.options.allowOpaqueDecode &&
           request.formatCode == FIF_JPEG && request.conversionType == QLatin1String("jpg") &&
           (SaveFlagsFor(request.conversionType, s) & kQualityPresets) == 0 && s.ddsLoadAs == 0 &&
           !s.doImageRotation && !s.doImageResize && !s.doImageFlipHorizontal &&
           !s.doImageFlipVertical && !s.doImageColorCorrection && !s.doImageGreyscale &&
           !s.doImageThreshold && s.doFrame == kFrameNone && s.doWatermark == kWatermarkNone;
}

StreamResult StreamToJpeg(const ConversionRequest& request, const FileJob& job,
                          FileResult& result) {
    std::unique_ptr<dds::StripReader> reader =
        dds::StripReader::Open(job.input, &result.failure, true, TextureRequest(request.settings));
    if (!reader) {
        // Refused files are refused by the whole-picture path with the same
        // reason; let it say so, once.
        result.failure.clear();
        return StreamResult::NotStreamable;
    }
    const int32_t outputBpp =
        request.AutoDepth() ? AutoDepth(request.conversionType, reader->Bpp()) : request.outputBpp;
    if (reader->Bpp() != 24 || outputBpp != 24) return StreamResult::NotStreamable;
    result.streamed = true;
    result.sourceBpp = 24;
    result.outputBpp = outputBpp;
    result.width = int32_t(reader->Width());
    result.height = int32_t(reader->Height());
    if (job.betweenSteps) job.betweenSteps();
    PendingFile file;
    // A file that counts converted files is named only once the earlier files
    // are done: it is written first, without a name, so the files of a run
    // still encode side by side.
    const bool nameLater = job.order && job.order->Numbered();
    if (nameLater) {
        const QString folder =
            OutputFolderOf(request.outputFolder, job.subfolder, request.settings);
        if (!MakeOutputFolder(request, job, folder, result) ||
            !file.Open(folder + QStringLiteral("pending.jpg"), &result.failure))
            return StreamResult::Failed;
    } else if (!PrepareOutput(request, job, NameFactsFor(request, job, result), result)) {
        return StreamResult::Failed;
    } else if (job.memory) {
        file.OpenInMemory(job.memory);
    } else if (!file.Open(result.output, &result.failure)) {
        return StreamResult::Failed;
    }
    const uint32_t width = reader->Width(), height = reader->Height();
    const size_t pitch = size_t(width) * 3;
    StripRing ring(*reader, pitch);

    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = ErrorExit;
    errors.manager.emit_message = NoMessage;
    errors.manager.output_message = NoOutput;
    jpeg_create_compress(&cinfo);
    auto destination = std::make_unique<Destination>();
    destination->manager.init_destination = InitDestination;
    destination->manager.empty_output_buffer = EmptyBuffer;
    destination->manager.term_destination = TermDestination;
    destination->file = &file;
    cinfo.dest = &destination->manager;
    cinfo.image_width = width;
    cinfo.image_height = height;

    bool encoded =
        ConfigureGuarded(cinfo, errors, SaveFlagsFor(request.conversionType, request.settings));
    if (encoded) {
        std::thread decoder;
        // Decoding beside the encoder pays for its hand-overs only on large
        // pictures (measured: slower below about 8 MP, 15-20 % faster at 16
        // and 64 MP), and not at all when other files keep the cores busy.
        const bool aside = uint64_t(width) * height >= kAsideMinPixels && job.decodeAside;
        ring.Prepare(aside);
        if (aside) {
            try {
                decoder = std::thread([&ring] { ring.Produce(); });
            } catch (const std::system_error&) {
                ring.Prepare(false); // no thread to be had: the encoder decodes too
            }
        }
        encoded = Encode(cinfo, errors, ring, height, pitch);
        ring.Cancel();
        if (decoder.joinable()) decoder.join();
    }
    jpeg_destroy_compress(&cinfo);
    if (!encoded) {
        file.Abandon();
        result.failure = ring.ReadFailed() ? QStringLiteral("the file could not be read")
                                           : QStringLiteral("the JPEG encoder failed");
        return StreamResult::Failed;
    }
    if (nameLater) {
        if (!PrepareOutput(request, job, NameFactsFor(request, job, result), result))
            return StreamResult::Failed;
        file.Rename(result.output);
    }
    result.converted = file.Commit(&result.failure);
    return result.converted ? StreamResult::Saved : StreamResult::Failed;
}

} // namespace tarvix
