#include "MediaCommandLayer.h"

#include "MediaCommand.h"

#include <utility>

namespace tolvex::music {

MediaCommandLayer::MediaCommandLayer(SequencerFactory makeSequencer, MusicOutput& output)
    : makeSequencer_(std::move(makeSequencer)), output_(output) {}

int MediaCommandLayer::send(const QString& command) {
    const std::optional<MediaCommand> parsed = parseMediaCommand(command);
    if (!parsed) {
        return code(MediaError::UnknownCommand);
    }
    const QString key = parsed->alias.toCaseFolded();
    if (parsed->verb == MediaCommand::Verb::Open) {
        return open(key, parsed->path);
    }

    const auto device = devices_.find(key);
    if (device == devices_.end()) {
        return code(MediaError::AliasNotOpen);
    }
    if (parsed->verb == MediaCommand::Verb::Close) {
        devices_.erase(device);
        return 0;
    }
    return parsed->verb == MediaCommand::Verb::Play ? device->second->play() : device->second->stop();
}

int MediaCommandLayer::open(const QString& key, const QString& path) {
    if (devices_.contains(key)) {
        return code(MediaError::AliasAlreadyOpen);
    }
    std::unique_ptr<Sequencer> device = makeSequencer_();
    if (const int result = device->open(path); result != 0) {
        return result;
    }
    devices_.emplace(key, std::move(device));
    return 0;
}

}  // namespace tolvex::music
