#!/usr/bin/python3
# Reads a Standard MIDI File with mido (an independent parser) and prints it for the tests
# to compare with what the engine sent. Fields are separated by tabs:
#   header <type> <ticks_per_beat> <tracks>
#   track <index> <name>
#   event <track> <absolute tick> <type> <key>=<value> ...
import sys

import mido

midi = mido.MidiFile(sys.argv[1])
print("header", midi.type, midi.ticks_per_beat, len(midi.tracks), sep="\t")
for index, track in enumerate(midi.tracks):
    print("track", index, track.name, sep="\t")
    tick = 0
    for message in track:
        tick += message.time
        fields = message.dict()
        pairs = [f"{key}={value}" for key, value in fields.items() if key not in ("type", "time")]
        print("event", index, tick, fields["type"], *pairs, sep="\t")
