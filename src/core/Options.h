#pragma once
// The user's options, read at the moment of use. Each field carries, as its comment, the
// caption the user sees and, in brackets, its key in section Options of the settings file
// (app/OptionsTable.cpp holds the order in which the keys are read and written). The
// defaults here are the designed defaults: what a first start, a "Reset" or a key missing
// from the file gives. Settings that a window keeps as a list index or as a note and an
// octave keep that meaning here; the MIDI notes of the control keys are derived from them
// when the settings are loaded (data/ControlKeys.h).

#include <cstdint>
#include <string>

namespace chordella::core {

struct Options {
    // --- The settings file itself, update check, start-up -------------------------------
    bool UpdatePending = false;          // update-pending flag of the update check [UpdateFlag]
    bool ResetSettings = false;          // start with the default settings once [Reset]
    bool Portable = false;               // portable mode [Portable]
    bool AutoSaveSettings = true;        // "Auto-save settings" [Autoload]
    bool CheckForUpdates = true;         // "Check for news or updates at program startup." [AutoUpdate]
    bool StartProgram = true;            // " Start Program ..." [AutoConnect]
    std::string ProgramName;             // "Prog. Name" [P-Name]
    std::string Connection;              // "Connection" [Connection]
    std::string OperatingSystem;         // operating system description, written only [OS]
    int Lvi = -1;                        // kept unchanged [Lvi]
    int DLvi = -1;                       // kept unchanged [DLvi]

    // --- MIDI devices (device names; an empty name is no device) ------------------------
    std::string MidiOut;                 // main MIDI output [MIDI-OUT]
    std::string MidiIn;                  // main MIDI input [MIDI-IN]
    std::string MidiSubOut;              // second MIDI output [MIDISUB-OUT]
    // The outputs are General MIDI devices: makers' own voices go to them as General MIDI
    // voices (the built-in synth always gets them so) [MIDI-OUT-GM], [MIDISUB-OUT-GM].
    bool MidiOutGeneralMidi = false;
    bool MidiSubOutGeneralMidi = false;
    std::string MidiSubIn;               // second MIDI input [MIDISUB-IN]
    std::string MediaPlayerOut;          // output of the media player [MCI-OUT]
    std::string SerialPortOut;           // output of the serial port connection [MIDI-COMPORT]

    // --- Keyboard split and control keys: note index 0 … 11 (C … B) and octave index ----
    int FillInKeyNote = 0;               // "Fill in Key" [FillIn]
    int EndingKeyNote = 2;               // "Ending Key" [Ending]
    int ToExtKeyNote = 1;                // "To Ext. Key" [ToAdv]
    int ToBasicKeyNote = 3;              // "To Basic Key" [ToBasic]
    int FirstAccKeyNote = 4;             // "First Acc. Key", lowest key of the chord zone [FirstKey]
    int LastAccKeyNote = 11;             // "Last Acc. Key", highest key of the chord zone [LastKey]
    int FillInKeyOctave = 3;             // octave of the "Fill in Key" [Oct_Fillin]
    int EndingKeyOctave = 3;             // octave of the "Ending Key" [Oct_Ending]
    int ToExtKeyOctave = 3;              // octave of the "To Ext. Key" [Oct_ToAdv]
    int ToBasicKeyOctave = 3;            // octave of the "To Basic Key" [Oct_ToBasic]
    int FirstAccKeyOctave = 3;           // octave of the "First Acc. Key" [Oct_FirstKey]
    int LastAccKeyOctave = 4;            // octave of the "Last Acc. Key" [Oct_LastKey]
    int AccChannel = 0;                  // "Acc. Channel" list index: 0 "All", 1 … 16 [AccChannel]
    bool Origin = false;                 // "Origin": MIDI input is not redirected [Redirect]
    int MidiKeyboardIndex = 0;           // main window's MIDI keyboard list index [E_Keyb]

    // --- Clock and meter ----------------------------------------------------------------
    int Quantize = 0;                    // "Quantize" list index, "1/4" … "6/8" [Quantize]
    int Metrum = 0;                      // "Metrum" list index, "6/4" … "1/8" [Metrum]
    int Sync = 8;                        // "Sync." [Sync]
    int TempoPreset1 = 60;               // "Tempo presets", first [Tempo1]
    int TempoPreset2 = 90;               // "Tempo presets", second [Tempo2]
    int TempoPreset3 = 120;              // "Tempo presets", third [Tempo3]
    int TempoPreset4 = 150;              // "Tempo presets", fourth [Tempo4]

    // --- Computer keyboard and chord pads -----------------------------------------------
    int ComputerKeyboardLayout = 0;      // layout list index: "German", "English (USA)", "French", "English (UK)" [K_Layout]
    bool SmartChordKeys = false;         // smart chord-key mode [K_Smart]

    // --- Chord recognition and chord names ----------------------------------------------
    bool TwoFingerChords = false;        // "Two-Finger" [2FingerChords]
    bool AdjustChordOctave = true;       // "Adjust Octave" (of chords) [Adjust]
    std::string ChordTypes;              // the chord type selection [ChordTypes]
    bool FlatSharp = false;              // the main window's flat/sharp choice [FlatSharp]
    bool SuppressSignChange = false;     // "Suppress sign change" [NoSignChange]

    // --- Accompaniment engine and sound -------------------------------------------------
    int VolumeOffset = 64;               // main window's volume offset bar [VolOffset]
    int DampenValue = 20;                // dampen-value bar [DampV]
    bool DampenGuitarsAndStrings = false;  // "Dampen GUITARS && STRINGS" [DampenG]
    int ChordPreview = 0;                // chord preview in chord-memory units: 0, 4, 8, 12 [PreView]
    int StyleChordChanges = 0;           // "Style/chord changes : strong --> smart" bar [SChange]
    bool NormalizeVolume = true;         // "Normalize Volume" [NVDef]
    bool CompLimit = true;               // "Comp. / Limit." [CompLim]
    bool SoloOnChannel1 = true;          // "Solo on channel 1" [SoloCh1]
    bool ReverbOff = false;              // "Reverb off" [Reverb]
    bool ReverbDefined = false;          // "Reverb defined" [RevDef]
    int ReverbValue = 0;                 // defined reverb, all channels but 10 [RevV]
    int ReverbValueChannel10 = 0;        // defined reverb, channel 10 [Rev10V]
    bool AllowPitchBend = false;         // "Allow pitch bend" (within styles) [PitchBend]

    // --- Instrument pad -----------------------------------------------------------------
    bool InstrumentPad = true;           // "Instrument Pad" [PAD]
    bool PadMuteAtIntrosAndEndings = true;  // "PAD : mute at intros && endings" [MuteHarmonic]
    bool PadChannelResetAtChordChanges = false;  // "PAD : channelreset at chordchanges" [PADReset]
    int PadOctave = 1;                   // octave of the pad [PADOctave]
    int PadChannel = 15;                 // pad channel list index (15 = channel 16) [PADChannel]
    int PadInstrument = 89;              // pad instrument list index [PadItemIndex]

    // --- Transport and sections ---------------------------------------------------------
    bool PlayIntro = true;               // "Intro ..." (play the intro) [PlayIntro]
    bool PlayEnding = true;              // "Play Ending" (instead of fading out) [PlayEnding]
    bool Loop = false;                   // "Loop" [LoopFlag]
    bool IgnoreLoops = false;            // "Ignore Loops"
    int TapsPerMeasure = 4;              // "Taps per Measure": "1 Tap" … "6 Taps"
    bool ReferToOriginalChannels = true; // " Refer to original channels"
    bool StoreControllerValues = true;   // " Store && Receive Controller-Values"

    // --- Melody (right-hand zone) -------------------------------------------------------
    int MelodyVelocityOffset = 0;        // "Balance - melody section velocity offset" [VelOffset]
    bool MelodyAdLib = false;            // " Melody Ad Lib" [ADLIB]
    bool KeyAdjustment = false;          // "Key adjustment" [KeyTranspose]
    bool AdjustMelodyOctave = true;      // "Adjust octave" (of melody notes) [AdjMel]

    // --- Instrument sets and instruments -------------------------------------------------
    int PatchMode = 0;                   // "Patches :" choice (instrument set mode) [PatchMode]
    std::string InstrumentSetFile;       // path of the active instrument set (.vxi) [Patch]
    int SoloInstrument = 17;             // main window's solo instrument list index [SoloPatch]
    bool RandomInstruments = false;      // "Random instruments" [RandomPatch]
    int InstrumentWindowSet = 0;         // instrument window's set list index: sets 1 … 10, FX [View]

    // --- Files and folders --------------------------------------------------------------
    std::string SongDirectory;           // song directory [Dir]
    std::string StyleDirectory;          // style directory [StyleDir]
    std::string StylePlaylistFile;       // style playlist file, written only [StylePL]
    std::string SonglistFile;            // songlist file [SongL]

    // --- Main window look ---------------------------------------------------------------
    bool SpeedButtons = true;            // "Speedbuttons" visible [Buttons]
    bool TabSet = true;                  // "Tabset" visible [TabSet]
    bool Background = true;              // "Background" visible [BackGrd]
    std::int32_t BackgroundColour = static_cast<std::int32_t>(0x80000001u);  // background colour [Color]
    std::string BackgroundPicture;       // background picture file [Picture]
    bool BackgroundPictureVisible = true;  // background picture visible [PicVis]
    std::int32_t PanelColour = 12311006;  // colour of the main window panels [ChordellaColor]
    int WindowWidth = 0;                 // the main window's size; 0 = fitted to the screen [WinWidth]
    int WindowHeight = 0;                // [WinHeight]
    std::string WindowPanels;            // the folding panels' state, "tab=1;keys=1;browser=1" [WinPanels]
    int Theme = 0;                       // the window's look: 0 dark stage, 1 light [Theme]
    std::string StyleFolders;            // folders the style browser lists beside STYLES, ";" between [StyleFolders]

    // --- Style creator and converter ----------------------------------------------------
    bool BassOutputOnChannel11 = false;  // "Bass output on channel 11" [BassTrackCH]
    int NormalizeVolumeTarget = 100;     // creator's volume normalisation target [NV]
    bool ShowConverterWhenLoading = false;  // "Show this window when loading a style" [ShowConverter]
    int ConverterSet = 0;                // converter's set list index [StySet]
    bool ConverterNative = false;        // converter's conversion mode "Channel table (native)" [StyNative]

    // --- Song player, song info, assistant ----------------------------------------------
    bool UseMci = true;                  // "Use MCI" [MCIPl]
    bool SongInfoAutoPopUp = true;       // song info "Auto pop-up" [MPU]
    bool GuideMe = true;                 // "Guide me !" [SCG]
    bool AssistantWizard = false;        // assistant window box [Wizard]
    bool AssistantView = false;          // assistant window view choice, written only [SView]

    // --- The built-in synth (the options window's "Audio" page) ---------------------------
    std::string AudioDriver = "auto";    // "Audio driver": auto, jack, pulseaudio, alsa [AudioDriver]
    std::string AudioDevice;             // "Device"; empty: the driver's default [AudioDevice]
    int SampleRate = 48000;              // "Sample rate" in Hz [SampleRate]
    int AudioBuffer = 128;               // "Buffer size" in frames of one period [AudioBuffer]
    std::string SoundFont;               // "SoundFont"; empty: the best one installed [SoundFont]
    int SynthVolume = 100;               // "Master volume" in % [SynthVolume]
    bool SynthReverb = true;             // "Reverb" [SynthReverb]
    int SynthReverbLevel = 60;           // the reverb's level in % [SynthReverbLevel]
    bool SynthChorus = true;             // "Chorus" [SynthChorus]
    int SynthChorusLevel = 40;           // the chorus's level in % [SynthChorusLevel]

    // --- MIDI remote control ------------------------------------------------------------
    std::string ControllerSelection;     // controller selection string [Unit7Str]
    std::string MidiCommandTable;        // MIDI command values, 40 three-digit fields [CtrlStr]
    std::string MidiCommandFile;         // name of the command file last used [CtrlName]
    std::string MidiCommandPort;         // the "MIDI Commands" window's output port; empty: none [CtrlPort]

    // --- Style playlist and search ------------------------------------------------------
    int StyleSearchIndex = 0;            // selected entry of the style search [SlIndex]
    std::string StyleSearchText = "!pop !ballad !beat !funk; <135; >65; +4/4";  // style search text [SlText]

    // --- Chord-memory editor ------------------------------------------------------------
    int NumberOfMidiPrograms = 128;      // "Number of MIDI programs" [MaxPrograms]
    bool NumberOfMidiProgramsTicked = false;  // "Number of MIDI programs" ticked [MPChecked]
    std::string ProgramListFile;         // program list file of the editor [ProgramList]
    bool AutochangeProgram = false;      // "Autochange program and more ( 4 )" [AutoProgs]
    bool AutochangeInstrument = false;   // "... autochange MIDI instrument too" [AutoIns]
    bool ChordOutputOnChannel1 = false;  // "Chord output on channel 1" [IoC1]
    bool EverySixteenMeasures = true;    // "    - every 16 measures" [Seq]
    bool OnlyAtBeginningOfSong = false;  // "    - only at the beginning of a song" [OST]
    bool Randomly = false;               // "... randomly" [RSeq]
    bool UsingCommandKeys = false;       // "... using command keys 0-9" [UCKey]
    int CommandKey = 0;                  // editor command key value [CKey]

    // --- Song creator -------------------------------------------------------------------
    bool SuspendedChords = true;         // song creator box for suspended chords [SusChords]
    bool SongCreatorBass = false;        // song creator bass box, written only [HBass]
    // --- Options the settings file does not store (menu items and check boxes that
    // start in their default state every time) ------------------------------------------
    // Chord input and chord types.
    bool TriadChords = false;            // "Triad chords"
    bool MajorMinor = false;             // "Major <> Minor"
    bool PlayChords = false;             // "Play Chords"
    bool EditBox = false;                // " Edit"
    bool ReceiveChordCodes = true;       // "Receive Chord Codes"
    bool SendChordCodes = false;         // " Send Chord Codes  (Controllers #19,  #20)  to Ch."
    int ChordCodeChannel = 0;            // the channel beside " Send Chord Codes  (Controllers #19,  #20)  to Ch." (0-based)
    // Songs.
    bool AutoloadStyle = true;           // "Autoload style"
    // Clock.
    bool SlaveMode = false;              // "Slave Mode"
    bool MasterMode = false;             // "Master Mode"
    bool ChordPreviewVariable = false;   // "Chordpreview var."
    bool Metronome = false;              // "Metronome"
    bool TempoDetection = true;          // "Tempo Detection"
    // Accompaniment engine.
    bool TransmitControllers = false;    // "Transmit Controllers"
    bool MinusOne = false;               // "Minus One"
    bool HarmonicPad = false;            // " Harmonic PAD, transposed"
    int ChordOutputVolume = 100;         // the volume beside "Chord output on channel 1"
    bool TryToOptimizeTiming = true;     // "Try to optimize timing" (style creator)
    bool DontGetMetrumFromFile = false;  // "Don't get metrum from file" (style creator)
    bool ConvertEighthBase = false;      // "Convert x/8 - Base: 1/8" (style creator): x/8 stays on eighths
    bool Progressbars = true;            // "Progressbars" (main window)
    // Keyboard input, keyboard split and MIDI thru.
    bool ChordInput = true;              // " Chords" (notes of the chord zone make chords)
    bool UseAllKeyboardKeys = false;     // "Use all keyboard keys"
    bool KeyboardSplit = false;          // " Keyboard Split ..."
    bool InstrumentKeys = false;         // " Instruments ..."
    bool UnchangedMidiIn = false;        // "Unchanged MIDI in" (second input)
    bool ReplaceOne = false;             // "Replace One"
    bool IntroDetection = false;         // "Intro Detection"
    bool MidiCommandsActivated = true;   // "Activated" (MIDI commands window)
    // Transport and sections.
    bool CountIn = false;                // "Count in"
    int MetronomeNote = 33;              // the metronome's note (sent on channel 10)
    bool IgnoreTempi = false;            // "Ignore Tempi"
    bool IgnoreMidiCommands = false;     // "Ignore MIDI commands"
    // "Style, Intro && Ending": 0 "-   Mute None ", 1 "-   Mute All", 2 "-   Drums",
    // 3 "-   Drums L.M.", 4 "-   Metronome".
    int IntroStartMode = 0;
    int Solo = 0;                        // "Solo" selector: 0 "Nil", or a channel 1 … 16
    bool MixerMuteLock = false;          // the mixer's mute lock (part mutes are not applied)
};

}  // namespace chordella::core
