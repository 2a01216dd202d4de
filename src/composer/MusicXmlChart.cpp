#include "composer/MusicXmlChart.h"

#include "composer/ChordSymbols.h"

namespace chordella::composer {

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            // Control characters are not allowed in XML 1.0.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
        }
    }
    return out;
}

// Fifths of the key signature: C 0, G 1, … F −1, Bb −2, …; a minor key as its relative major.
int Fifths(int keyRoot, bool minor) {
    const int major = (keyRoot + (minor ? 3 : 0)) % 12;
    static constexpr int FifthsOf[12] = {0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5};
    return FifthsOf[major];
}

void Harmony(std::string& xml, const ChartChord& chord, bool sharps) {
    const std::string_view name = RootName(chord.Root, sharps);
    const XmlChordKind& kind = MusicXmlKind(chord.Type);
    xml += "      <harmony>\n        <root><root-step>";
    xml += name.substr(0, 1);
    xml += "</root-step>";
    if (name.size() > 1) xml += name[1] == '#' ? "<root-alter>1</root-alter>" : "<root-alter>-1</root-alter>";
    xml += "</root>\n        <kind text=\"" + std::string(kind.Text) + "\">" + std::string(kind.Kind) + "</kind>\n";
    if (kind.DegreeValue != 0)
        xml += "        <degree><degree-value>" + std::to_string(kind.DegreeValue) + "</degree-value><degree-alter>" +
               std::to_string(kind.DegreeAlter) + "</degree-alter><degree-type>" + std::string(kind.DegreeType) +
               "</degree-type></degree>\n";
    xml += "      </harmony>\n";
}

}  // namespace

std::string WriteMusicXml(const ChordChart& chart) {
    const bool sharps = chart.Sharps();
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
        "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
        "<score-partwise version=\"4.0\">\n";
    xml += "  <work><work-title>" + Escaped(chart.Title.empty() ? "Untitled" : chart.Title) + "</work-title></work>\n";
    xml += "  <identification>\n";
    if (!chart.Composer.empty()) xml += "    <creator type=\"composer\">" + Escaped(chart.Composer) + "</creator>\n";
    xml += "    <encoding><software>Chordella</software></encoding>\n  </identification>\n";
    xml += "  <part-list>\n    <score-part id=\"P1\"><part-name>Chords</part-name></score-part>\n  </part-list>\n";
    xml += "  <part id=\"P1\">\n";
    for (std::size_t index = 0; index < chart.Measures.size(); ++index) {
        const ChartMeasure& measure = chart.Measures[index];
        xml += "    <measure number=\"" + std::to_string(index + 1) + "\">\n";
        if (measure.RepeatTimes > 0)
            xml += "      <barline location=\"left\"><bar-style>heavy-light</bar-style><repeat direction=\"forward\"/></barline>\n";
        if (index == 0) {
            xml += "      <attributes>\n        <divisions>1</divisions>\n        <key><fifths>" +
                   std::to_string(Fifths(chart.KeyRoot, chart.KeyMinor)) + "</fifths><mode>" +
                   (chart.KeyMinor ? "minor" : "major") + "</mode></key>\n        <time><beats>" +
                   std::to_string(chart.BeatsPerMeasure) +
                   "</beats><beat-type>4</beat-type></time>\n        <clef><sign>G</sign><line>2</line></clef>\n"
                   "      </attributes>\n";
            xml += "      <direction placement=\"above\"><direction-type><metronome><beat-unit>quarter</beat-unit>"
                   "<per-minute>" + std::to_string(chart.Tempo) + "</per-minute></metronome></direction-type>"
                   "<sound tempo=\"" + std::to_string(chart.Tempo) + "\"/></direction>\n";
        }
        for (const auto& beat : measure.Beats) {
            if (beat) Harmony(xml, *beat, sharps);
            xml += "      <note><rest/><duration>1</duration><voice>1</voice><type>quarter</type></note>\n";
        }
        if (measure.RepeatEnd) {
            int times = 2;
            for (std::size_t start = index + 1; start-- > 0;)
                if (chart.Measures[start].RepeatTimes > 0) { times = chart.Measures[start].RepeatTimes; break; }
            xml += "      <barline location=\"right\"><bar-style>light-heavy</bar-style><repeat direction=\"backward\" "
                   "times=\"" + std::to_string(times) + "\"/></barline>\n";
        } else if (index + 1 == chart.Measures.size()) {
            xml += "      <barline location=\"right\"><bar-style>light-heavy</bar-style></barline>\n";
        }
        xml += "    </measure>\n";
    }
    xml += "  </part>\n</score-partwise>\n";
    return xml;
}

}  // namespace chordella::composer
