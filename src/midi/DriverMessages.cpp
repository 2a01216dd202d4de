#include "midi/DriverMessages.h"

#include <alsa/error.h>
#include <jack/jack.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace chordella::midi {

namespace {

struct Sink {
    std::mutex mutex;
    std::deque<std::string> messages;
    std::string last;
};

// The libraries' hooks are plain functions without a context pointer: one sink per process.
Sink& TheSink() {
    static Sink sink;
    return sink;
}

void FromJack(const char* text) { NoteDriverMessage("JACK", text ? text : ""); }

void FromAlsa(const char* file, int line, const char* function, int err, const char* format, ...) {
    (void)file;
    (void)line;
    (void)err;
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    NoteDriverMessage("ALSA", std::string(function ? function : "") + ": " + text);
}

}  // namespace

void NoteDriverMessage(std::string_view source, std::string_view text) {
    Sink& sink = TheSink();
    std::string message = std::string(source) + ": " + std::string(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    std::lock_guard lock(sink.mutex);
    sink.last = message;
    sink.messages.push_back(std::move(message));
    if (sink.messages.size() > 64) sink.messages.pop_front();
}

std::vector<std::string> TakeDriverMessages() {
    Sink& sink = TheSink();
    std::lock_guard lock(sink.mutex);
    std::vector<std::string> taken(sink.messages.begin(), sink.messages.end());
    sink.messages.clear();
    return taken;
}

std::string LastDriverMessage() {
    Sink& sink = TheSink();
    std::lock_guard lock(sink.mutex);
    return sink.last;
}

void CaptureDriverMessages() {
    // libjack would otherwise try to start a server and stall for seconds when none runs.
    setenv("JACK_NO_START_SERVER", "1", 0);
    jack_set_error_function(&FromJack);
    jack_set_info_function(&FromJack);
    snd_lib_error_set_handler(&FromAlsa);
}

}  // namespace chordella::midi
