#include "interop/particle_files.h"

#include <cctype>
#include <stdexcept>

#include "effectfile/texture_loading.h"
#include "interop/embedded_data.h"
#include "interop/file_bytes.h"
#include "interop/gdx_mapping.h"
#include "interop/pd_mapping.h"
#include "interop/pex_file.h"
#include "interop/plist_file.h"
#include "interop/texture_import.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

bool LoadTexture(Emitter& emitter, const std::filesystem::path& file) {
    return LoadEmitterTexture(emitter, file.u16string());
}

// The engines differ in which source wins: cocos2d-x takes the named file before the embedded
// data, the .pex readers the data before the name.
void ImportPdTexture(const PdConfig& config, bool dataFirst, const std::filesystem::path& path, Emitter& emitter,
                     ConversionReport& report) {
    const std::string name = config.Text("textureFileName").value_or("");
    const std::optional<std::string> data = config.Text("textureImageData");
    const std::optional<std::filesystem::path> named = FindNamedTexture(name, path);
    if (named && !(dataFirst && data && !data->empty())) {
        if (!LoadTexture(emitter, *named)) report.Dropped("texture \"" + name + "\" does not load as a PNG");
        return;
    }
    if (data && !data->empty()) {
        const Bytes image = Inflate(DecodeBase64(*data));
        if (const std::optional<std::filesystem::path> placed = PlaceEmbeddedImage(image, name, path, report)) {
            if (!LoadTexture(emitter, *placed)) throw std::runtime_error("the embedded image does not decode");
        }
        return;
    }
    if (!name.empty()) report.Dropped("texture \"" + name + "\" not found beside the file");
}

ImportedEmitters ImportPd(const std::filesystem::path& path, std::string_view text, bool pex, EmitListener* listener,
                          FrameSize frame) {
    const PdConfig config = pex ? ReadPex(text) : ReadPlist(text);
    ImportedEmitters imported;
    auto emitter = std::make_unique<Emitter>(listener);
    const std::string name = config.Text("configName").value_or("");
    imported.report.BeginEmitter(name.empty() ? path.stem().string() : name);
    const PdFrame pdFrame{frame.width, frame.height, PdYAxisUp(config, !pex)};
    PdToEmitter(config, pdFrame, *emitter, imported.report);
    if (emitter->params.name.empty()) emitter->params.name = path.stem().u16string();
    ImportPdTexture(config, pex, path, *emitter, imported.report);
    imported.emitters.push_back(std::move(emitter));
    return imported;
}

ImportedEmitters ImportGdx(const std::filesystem::path& path, std::string_view text, EmitListener* listener) {
    ImportedEmitters imported;
    for (const GdxEmitter& source : ReadGdxParticles(text)) {
        auto emitter = std::make_unique<Emitter>(listener);
        imported.report.BeginEmitter(source.name);
        GdxToEmitter(source, *emitter, imported.report);
        if (!source.imagePaths.empty()) {
            const std::string& image = source.imagePaths.front();
            const std::optional<std::filesystem::path> found = FindNamedTexture(image, path);
            if (!found) {
                imported.report.Dropped("image \"" + image + "\" not found beside the file");
            } else if (!LoadTexture(*emitter, *found)) {
                imported.report.Dropped("image \"" + image + "\" does not load as a PNG");
            }
        }
        imported.emitters.push_back(std::move(emitter));
    }
    return imported;
}

// The texture's PNG file, gzip'd and in base64, or nothing (reported) when there is none.
std::optional<std::string> EmbeddedTexture(const Emitter& emitter, ConversionReport& report) {
    std::filesystem::path file;
    if (emitter.texture.FileName().empty()) return std::nullopt;
    file = std::filesystem::path(emitter.texture.FileName());
    try {
        const Bytes png = ReadFileBytes(file, kMaxEmbeddedBytes);
        if (SniffImage(png) != ImageSignature::kPng) throw std::runtime_error("not a PNG");
        return EncodeBase64(Gzip(png));
    } catch (const std::runtime_error&) {
        report.Dropped("texture \"" + file.string() + "\" could not be embedded");
        return std::nullopt;
    }
}

}  // namespace

std::optional<ParticleFormat> FormatOfPath(std::u16string_view path) {
    std::string extension = std::filesystem::path(std::u16string(path)).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".orv") return ParticleFormat::kOrv;
    if (extension == ".plist") return ParticleFormat::kPlist;
    if (extension == ".pex") return ParticleFormat::kPex;
    if (extension == ".p") return ParticleFormat::kLibgdx;
    return std::nullopt;
}

bool IsImportedFormat(std::u16string_view path) {
    const std::optional<ParticleFormat> format = FormatOfPath(path);
    return format && *format != ParticleFormat::kOrv;
}

ImportedEmitters ImportParticleFile(const std::filesystem::path& path, EmitListener* listener, FrameSize frame) {
    const std::optional<ParticleFormat> format = FormatOfPath(path.u16string());
    if (!format || *format == ParticleFormat::kOrv) throw std::runtime_error("not a .plist, .pex or .p file");
    const Bytes bytes = ReadFileBytes(path);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (*format == ParticleFormat::kLibgdx) return ImportGdx(path, text, listener);
    return ImportPd(path, text, *format == ParticleFormat::kPex, listener, frame);
}

void ExportEmitter(const Emitter& emitter, const std::string& name, ParticleFormat format, bool embedTexture,
                   const std::filesystem::path& path, FrameSize frame, ConversionReport& report) {
    if (format != ParticleFormat::kPlist && format != ParticleFormat::kPex) {
        throw std::runtime_error("emitters are exported as .plist or .pex only");
    }
    report.BeginEmitter(name);
    PdConfig config = EmitterToPd(emitter, name, PdFrame{frame.width, frame.height, true}, report);
    const std::filesystem::path texture(emitter.texture.FileName());
    config.Set("textureFileName", texture.filename().string());
    if (embedTexture) {
        if (const std::optional<std::string> data = EmbeddedTexture(emitter, report)) config.Set("textureImageData", *data);
    }
    const std::string text = format == ParticleFormat::kPlist ? WritePlist(config) : WritePex(config);
    WriteFileBytes(path, text);
}

std::vector<std::filesystem::path> ExportEffect(const Effect& effect, std::optional<std::size_t> index,
                                                const std::filesystem::path& path, bool embedTexture, FrameSize frame,
                                                ConversionReport& report) {
    const std::optional<ParticleFormat> format = FormatOfPath(path.u16string());
    if (format != ParticleFormat::kPlist && format != ParticleFormat::kPex) {
        throw std::runtime_error("emitters are exported as .plist or .pex only");
    }
    std::vector<std::size_t> indices;
    if (index) {
        indices.push_back(*index);
    } else {
        for (std::size_t i = 0; i < effect.Count(); ++i) indices.push_back(i);
    }
    std::vector<std::filesystem::path> written;
    for (std::size_t i : indices) {
        std::string name;
        if (!vesk::WideToUtf8(name, effect.NameAt(i))) name = "emitter";
        const std::filesystem::path file = indices.size() == 1 ? path : EmitterFilePath(path, name);
        ExportEmitter(effect.EmitterAt(i), name, *format, embedTexture, file, frame, report);
        written.push_back(file);
    }
    return written;
}

std::filesystem::path EmitterFilePath(const std::filesystem::path& path, std::string_view emitterName) {
    std::string name(emitterName);
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) c = '_';
    }
    return path.parent_path() / (path.stem().string() + "-" + name + path.extension().string());
}

}  // namespace orv
