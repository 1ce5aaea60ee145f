<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>BatchRequest</name>
    <message>
        <source>kora %1: %2
Try &apos;kora --help&apos; for the commands and their options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>one project at a time; &apos;%1&apos; is one too many</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; takes no value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no valid value for &apos;--%2&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no project file given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the option &apos;--out&apos; is required</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the range from %1 m to %2 m is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos;: the report is written as .pdf, .odt, .doc or .docx</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the depth step must be at least 0.2 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos;: the picks are written as .csv or .las</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commands (no window is opened; the project file is only read):
  report PROJECT --out FILE [--from M] [--to M] [--step M] [--columns 1-4]
         [--header] [--grid] [--structures] [--frequency]
                 write a report as .pdf, .odt, .doc or .docx (by the suffix);
                 the range defaults to the whole project, the step to the one
                 the report dialog recommends for the columns (default 2)
  pages PROJECT --out PREFIX [--from M] [--to M] [--piece-depth MM] [--original]
                 save the pages as JPEG pieces PREFIX(12.00-14.00m).jpg of
                 MM millimetres each (default 2000); --original: image only
  picks PROJECT --out FILE.csv|FILE.las
                 export the structure picks
  info PROJECT [--json]
                 print the project information and check its pieces

Progress goes to standard error when it is a terminal.
Exit status: 0 done, 1 the work failed (nothing written, an existing file
kept), 2 a usage error.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BatchRunner</name>
    <message>
        <source>the folder &quot;%1&quot; does not exist; nothing was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be written; nothing was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the range from %1 m to %2 m lies outside the project, which spans %3 m to %4 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the project file &quot;%1&quot; could not be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Project Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test department:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>Hole number:</translation>
    </message>
    <message>
        <source>Person:</source>
        <translation>Operator:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direction:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Depth range:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 m to %2 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diameter:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coordinates:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pieces:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 px</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no faults found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undecodable:</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n piece(s), ending at %1 m</source>
        <translation>
            <numerusform>%n piece, ending at %1 m</numerusform>
            <numerusform>%n pieces, ending at %1 m</numerusform>
        </translation>
    </message>
    <message>
        <source>Gaps:</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 px (%n piece(s))</source>
        <translation>
            <numerusform>%1 px (%n piece)</numerusform>
            <numerusform>%1 px (%n pieces)</numerusform>
        </translation>
    </message>
    <message>
        <source>Widths differ:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written (%2); nothing was written, an existing file is kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the project is logged upwards; open it once in KORA, which turns it downwards, then make the report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1; the report was not written, an existing file is kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the project is logged upwards; open it once in KORA, which turns it downwards, then save its pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the project has no readable images or no borehole diameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the pieces from %1 m on could not be written (the disk may be full, or the range holds no images)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>kora: unknown option &apos;%1&apos;
Try &apos;kora --help&apos; for the options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: %1 [OPTION]... [FILE]
   or: %1 COMMAND PROJECT [OPTION]...
View and interpret borehole-wall images.

FILE is a project (.prj) or a picture; KORA opens it at start.

Options:
  -h, --help     show this help and exit
  -v, --version  show the version and exit
  --             treat every following argument as a file name

The toolkit&apos;s options (-platform, -style, -display ...) are accepted too.
Settings are kept in ~/.config/KD/QVNKORA.conf.

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kora: opens one file at a time; not opening %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ContrastDock</name>
    <message>
        <source>Wall contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic stretch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stretch the tones of each piece between its darkest and brightest 1 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dynamic normalisation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equalise the tones over a window sliding down the hole</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CorrectionDialog</name>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The real depth must be a whole number of millimetres greater than 0.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The correction angle must be a whole number of degrees.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The real diameter must be a whole number of millimetres greater than 0.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project file is being rewritten. Please wait until it is finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Corrections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Depth correction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test depth(mm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Real depth(mm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Angle correction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correction angle:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>note:The default correction angle is north to east</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diameter correction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test diameter(mm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Real diameter(mm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The structure picks of this project cannot be read: %1.
Correct the wall without moving them? They will then no longer match the wall.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The diameter could not be written to the project file: %1. Nothing was corrected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the project has no information row</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the structure picks could not be corrected (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CorrectionThread</name>
    <message>
        <source>the structure-pick table cannot be read (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileInfoWidget</name>
    <message>
        <source>depth range(mm):</source>
        <translation>Depth range (mm):</translation>
    </message>
    <message>
        <source>Current:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page depth:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The end depth must be below the start depth.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FrequencyTrackController</name>
    <message>
        <source>&amp;Fracture frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the fracture frequency track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picks per metre beside the image, per type and in total</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 m window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Terzaghi correction (1/|cos δ|, at most 10)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GraphicsFrequencyTrackItem</name>
    <message>
        <source>P10 (1/m), %1 m window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, Terzaghi-weighted</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GraphicsRulerItem</name>
    <message>
        <source>Total:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown (no project scale, %1 pixels)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GraphicsScene</name>
    <message>
        <source>Area Selecting finished.</source>
        <translation>Area selection finished.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Points are not enough to form a closed curve</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GraphicsSelCurveItem</name>
    <message>
        <source>Area of this closed curve is:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown (no project scale, %1 pixels)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GraphicsTextItem</name>
    <message>
        <source>Input text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HoleSurvey</name>
    <message>
        <source>The file is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>depth (depth or MD)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>inclination (inclination or INC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>azimuth (azimuth or AZI)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has no column for %1. Its headings are: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>depth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>inclination</source>
        <translation>inclination</translation>
    </message>
    <message>
        <source>azimuth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1: the %2 &quot;%3&quot; is not a number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1: the inclination %2° is outside 0° to 180°.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1: the depth %2 m does not follow the depth %3 m of the station before; the stations must be in increasing depth.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has headings but no stations.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HoleSurveyController</name>
    <message>
        <source>Hole &amp;survey...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import the hole&apos;s deviation survey, for the true orientation of the structure picks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HoleSurveyDialog</name>
    <message>
        <source>Hole survey</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stations from a CSV file (columns depth or MD, inclination or INC, azimuth or AZI):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A straight hole:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inclination from vertical:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Azimuth of the hole from north:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Between stations the hole&apos;s direction follows a circular arc (minimum curvature).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project has no hole survey: dips are measured against the hole.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>high side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>north</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Straight hole, inclination %1°, azimuth %2°; azimuth reference: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 stations from %2 m to %3 m; azimuth reference: %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv *.txt);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the CSV file of the survey.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hole survey was not stored: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HoleSurveyStore</name>
    <message>
        <source>The project file cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project file %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project file is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The survey has no stations.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project file cannot be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not a project file (it has no image table or no project information).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project has no hole survey yet.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Main3DWindow</name>
    <message>
        <source>3D tool</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit the application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the application&apos;s About box</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;DisplaySetting</source>
        <translation>Displa&amp;y Settings</translation>
    </message>
    <message>
        <source>Popup display setting dialog</source>
        <translation>Open the display settings dialog</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Chinese</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RecentFiles</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>RecentProjects</source>
        <translation>Recent Projects</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whether to save the changes?</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt; &lt;b&gt;KORA&lt;/b&gt; &lt;/p&gt; </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt; Borehole-wall image viewer and interpretation tool. &lt;/p&gt; </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt; Pages through the unrolled 360° image of a borehole wall by depth, &lt;/p&gt; </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt; measures lengths, angles, dips and areas on it, corrects depth and azimuth, &lt;/p&gt; </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt; and exports reports and 3D views of the hole. &lt;/p&gt; </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open project file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>project (*.prj)</source>
        <translation>Projects (*.prj)</translation>
    </message>
    <message>
        <source>The project file &quot;%1&quot; does not exist!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for process project file...</source>
        <translation>Processing the project file, please wait...</translation>
    </message>
    <message>
        <source>The upward project could not be converted; the project file was left unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture (*.jpg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project has no readable images or no borehole diameter!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading images,please wait!</source>
        <translation>Reading images, please wait!</translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No pictures!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database file open failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>d</source>
        <translation>°</translation>
    </message>
    <message>
        <source>inclination</source>
        <translation>Dip direction </translation>
    </message>
    <message>
        <source>D</source>
        <translation>°</translation>
    </message>
    <message>
        <source>inclinationAngle</source>
        <translation>dip angle </translation>
    </message>
    <message>
        <source>ToolBar</source>
        <translation>Tool Bar</translation>
    </message>
    <message>
        <source>Range is too big.Please input a smaller range!</source>
        <translation>Range is too big. Please input a smaller range!</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; does not exist!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project file is being rewritten. Please wait until it is finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown (no project scale, %1 pixels)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for correcting depth...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for correcting angle...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The correction could not be made; the project file was left unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KORA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save picture as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*.jpg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image is too big to save or range error, Please chose a right page depth!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 - %2 (%3 m - %4 m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Roll view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No picture!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Image!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image is too big to save, Please chose a smaller page!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/CurrentImage.jpg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/LeftRuler.jpg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/TopRuler.jpg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3D view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None Project!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*.pdf</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export DOC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*.doc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*.docx</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*.odt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving report successfully , do you want to open it ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User &amp;guide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the user guide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt; Version: %1 &lt;/p&gt; </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture &quot;%1&quot; cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The roll view shows the page on screen (%1 m - %2 m). Go to the page of the range first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project cannot be corrected: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The correction could not be made: %1. The project file was left unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The wall was corrected; the structure picks were left where they were, because their table cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n pick(s) could not be moved: a value the correction needs is missing or not a number.</source>
        <translation>
            <numerusform>%n pick could not be moved: a value the correction needs is missing or not a number.</numerusform>
            <numerusform>%n picks could not be moved: a value the correction needs is missing or not a number.</numerusform>
        </translation>
    </message>
    <message>
        <source>The picture could not be saved: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project &quot;%1&quot; cannot be opened: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project is opened for viewing only: %1. Corrections and structure picks cannot be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[read-only]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is the last page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is the first page.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MouseLabel</name>
    <message>
        <source>depth </source>
        <translation>Depth </translation>
    </message>
    <message>
        <source>direct </source>
        <translation>Direction </translation>
    </message>
</context>
<context>
    <name>MyFontDialog</name>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MyGLWidget</name>
    <message>
        <source>N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PickExporter</name>
    <message>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LAS 2.0 files (*.las)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PickListDock</name>
    <message>
        <source>Depth (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dip (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dip direction (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure picks (true orientation)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>True dip (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>True dip direction (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure picks (measured)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectCheck</name>
    <message>
        <source>The project file &quot;%1&quot; could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pieces could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectInfo</name>
    <message>
        <source>it was interrupted during a change; open it where it can be written to finish restoring it</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectInfoDialog</name>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project information could not be saved to the project file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Project name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detection unit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coordinates:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>Hole number:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total diameter(mm):</source>
        <translation>Total depth (m):</translation>
    </message>
    <message>
        <source>Diameter(mm):</source>
        <translation>Diameter (mm):</translation>
    </message>
    <message>
        <source>Start depth(mm):</source>
        <translation>Start depth (m):</translation>
    </message>
    <message>
        <source>Person:</source>
        <translation>Operator:</translation>
    </message>
    <message>
        <source>Orifice elevation:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waterlevel</source>
        <translation>Water level:</translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project has no hole survey: dips and dip directions are measured against the hole, azimuth 0 is north.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Where the hole is vertical it has no high side: north is used there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The azimuth reference could not be saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Azimuth reference:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>North</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High side of the hole</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QDlgDisplaySetting</name>
    <message>
        <source>显示设置</source>
        <translation>Display Settings</translation>
    </message>
    <message>
        <source>网格线</source>
        <translation>Grid Lines</translation>
    </message>
    <message>
        <source>网格尺寸</source>
        <translation>Grid size</translation>
    </message>
    <message>
        <source>10*10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>20*20</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>50*50</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QReportBuilder</name>
    <message>
        <source>The report cannot be laid out: the project has no image width or no borehole diameter, or the depth step is 0.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project file could not be opened for the report.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report file could not be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A temporary image of the report could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Project Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test department:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>Hole number:</translation>
    </message>
    <message>
        <source>Person:</source>
        <translation>Operator:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Depth:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diameter:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coordinates:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WaterLever:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QReportPDF</name>
    <message>
        <source>No report file name was given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.pdf</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report file &quot;%1&quot; could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report file &quot;%1&quot; could not be written: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QReportWord</name>
    <message>
        <source>.doc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/temp_%1.jpg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A temporary image of the report could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QWord</name>
    <message>
        <source>Error: file already exist!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: file name empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: word not installed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: the document could not be written!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: the word processor could not be started!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: the conversion was stopped!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: the word processor did not finish in time!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: the word processor could not convert the document!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RangeDialog</name>
    <message>
        <source>start(m)</source>
        <translation>Start (m)</translation>
    </message>
    <message>
        <source>end(m)</source>
        <translation>End (m)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Range error,start depth is larger than end depth!</source>
        <translation>Range error: the start depth is larger than the end depth!</translation>
    </message>
    <message>
        <source>The range must less than 2m!</source>
        <translation>The range must be less than 2 m!</translation>
    </message>
</context>
<context>
    <name>ReportDlg</name>
    <message>
        <source>ReportDlg</source>
        <translation>Export report</translation>
    </message>
    <message>
        <source>Column per page</source>
        <translation>Columns per page</translation>
    </message>
    <message>
        <source>2 columns best</source>
        <translation>2 columns recommended</translation>
    </message>
    <message>
        <source>WithGridLines</source>
        <translation>With grid lines</translation>
    </message>
    <message>
        <source>With Header</source>
        <translation>With header</translation>
    </message>
    <message>
        <source>Range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> m </source>
        <translation>&#xa0;m </translation>
    </message>
    <message>
        <source>To </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> m</source>
        <translation>&#xa0;m</translation>
    </message>
    <message>
        <source>DepthStep</source>
        <translation>Depth step</translation>
    </message>
    <message>
        <source>m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Format</source>
        <translation>Export format</translation>
    </message>
    <message>
        <source>word</source>
        <translation>Word document</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PrintPreview</source>
        <translation>Print preview</translation>
    </message>
    <message>
        <source>m(%1m better)</source>
        <translation>m (%1 m recommended)</translation>
    </message>
    <message>
        <source>Step value must be greater than or equal 0.2 , please put in again !!!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop value must be greater than start value , please put in again !!!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structures page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A PDF report ends with the stereonet and rose of the picks in its range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frequency track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A PDF report shows the picks per metre (P10) beside each block</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RewriteProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RosePlot</name>
    <message>
        <source>Rose diagram</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Dip directions, %n pick(s), 10° bins, fullest bin %1</source>
        <translation>
            <numerusform>Dip directions, %n pick, 10° bins, fullest bin %1</numerusform>
            <numerusform>Dip directions, %n picks, 10° bins, fullest bin %1</numerusform>
        </translation>
    </message>
    <message>
        <source>No picks</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n left out (invalid values)</source>
        <translation>
            <numerusform>%n left out (invalid values)</numerusform>
            <numerusform>%n left out (invalid values)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveDialog</name>
    <message>
        <source>The current image is too large to save. 
It needs to saved into different images.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select depth of one image(mm):
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Will save into </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> images</source>
        <translation>&#xa0;images</translation>
    </message>
</context>
<context>
    <name>ScrollArea</name>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save picture as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StereonetPlot</name>
    <message>
        <source>Stereonet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mean %1°/%2°</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No picks</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n left out (invalid values)</source>
        <translation>
            <numerusform>%n left out (invalid values)</numerusform>
            <numerusform>%n left out (invalid values)</numerusform>
        </translation>
    </message>
    <message>
        <source>no mean: no picks of this type</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StructurePick</name>
    <message>
        <source>fracture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bedding</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>vein</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>breakout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>other</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StructurePickController</name>
    <message>
        <source>Export &amp;picks...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure picks are made on the pages of a project: a single picture has no depth scale and no borehole diameter.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project has no borehole diameter, so the dip of a plane cannot be computed. Set the diameter in the corrections first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure picks are made on a page of the project: read a page first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure pick: click points along the trace; a right click, Enter or the tool button ends the pick.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>A structure pick needs at least three points along the trace; this one had %n. Nothing was kept.</source>
        <translation>
            <numerusform>A structure pick needs at least three points along the trace; this one had %n. Nothing was kept.</numerusform>
            <numerusform>A structure pick needs at least three points along the trace; this one had %n. Nothing was kept.</numerusform>
        </translation>
    </message>
    <message>
        <source>These points do not define a plane: they need at least three different azimuths. Nothing was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure pick %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project file is read-only: structure picks are kept in memory only and are lost when the project is closed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The structure pick could not be stored in the project file (%1). It is kept in memory until the project is closed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These points do not define a plane; the pick was not changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The change of the structure pick could not be stored in the project file (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The structure pick could not be deleted from the project file (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picks could not be written to &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure picks written to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project has no structure picks yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export picks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the structure picks of the project to a CSV or LAS file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StructurePickDialog</name>
    <message>
        <source>Structure pick</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Depth, dip/dip direction:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StructurePickStore</name>
    <message>
        <source>it is a %1, not a table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the column &quot;%1&quot; is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its id is not an integer key</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StructurePlot</name>
    <message>
        <source>True orientation (hole survey)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measured orientation (relative to the hole)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StructuresController</name>
    <message>
        <source>&amp;Structures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stereonet, rose and tadpole plots of the structure picks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tadpole plot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StructuresPage</name>
    <message numerus="yes">
        <source>Structures %1 m – %2 m, %n pick(s)</source>
        <translation>
            <numerusform>Structures %1 m – %2 m, %n pick</numerusform>
            <numerusform>Structures %1 m – %2 m, %n picks</numerusform>
        </translation>
    </message>
    <message>
        <source>Picks per metre (P10), %1 m intervals</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Depth (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>all</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StructuresWindow</name>
    <message>
        <source>Structures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stereonet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rose diagram</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tadpole plot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mean of:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Great circles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>all picks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export plot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG picture (*.png);;SVG drawing (*.svg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The plot could not be written to &quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TadpolePlot</name>
    <message>
        <source>Tadpole plot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>True dip (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dip against the hole (°)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextDialog</name>
    <message>
        <source>Select font...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>Open project</source>
        <translation>Open &amp;project</translation>
    </message>
    <message>
        <source>Open a project file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;current image</source>
        <translation>Save &amp;current image</translation>
    </message>
    <message>
        <source>Save the current image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save &amp;Original image</source>
        <translation>Save o&amp;riginal image</translation>
    </message>
    <message>
        <source>Save the original image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s&amp;ave as</source>
        <translation>Save &amp;as</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation>&amp;Export report</translation>
    </message>
    <message>
        <source>Export report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Roll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Roll the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Project Information</source>
        <translation>&amp;Project information</translation>
    </message>
    <message>
        <source>Show or edit project Information</source>
        <translation>Show or edit the project information</translation>
    </message>
    <message>
        <source>&amp;Correction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Corrections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Magnetic declination correctionBtn</source>
        <translation>&amp;Magnetic declination correction</translation>
    </message>
    <message>
        <source>Correct magnetic declination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Diameter correctionBtn</source>
        <translation>&amp;Diameter correction</translation>
    </message>
    <message>
        <source>Correct diameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Show 3D</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show 3D Image</source>
        <translation>Show the 3D image</translation>
    </message>
    <message>
        <source>P&amp;en</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I&amp;nsert line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure length</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>M&amp;easure length</source>
        <translation>Measure length</translation>
    </message>
    <message>
        <source>Measure angle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Mark lithology</source>
        <translation>Mark lithology</translation>
    </message>
    <message>
        <source>Mark lithology</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>So&amp;lid Arrow</source>
        <translation>So&amp;lid arrow</translation>
    </message>
    <message>
        <source>Solid arrow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;ngle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Angle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D&amp;ip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dip angle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F&amp;itCurve</source>
        <translation>F&amp;it curve</translation>
    </message>
    <message>
        <source>To fit the curve</source>
        <translation>Fit a curve</translation>
    </message>
    <message>
        <source>R&amp;uler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To measure distance</source>
        <translation>Measure distance</translation>
    </message>
    <message>
        <source>text</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Irregular</source>
        <translation>&amp;Irregular area</translation>
    </message>
    <message>
        <source>Irregular</source>
        <translation>Measure an irregular area</translation>
    </message>
    <message>
        <source>&amp;GridLines</source>
        <translation>&amp;Grid lines</translation>
    </message>
    <message>
        <source>GridLines</source>
        <translation>Show or hide the grid lines</translation>
    </message>
    <message>
        <source>black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>white</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Width </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Working now, Please Waiting!</source>
        <translation>Working now, please wait!</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Structure &amp;pick</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Structure pick: click three or more points along a trace and end with a right click or Enter; gives the depth, true dip and dip direction of the plane, for a vertical hole</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TopToolBar</name>
    <message>
        <source>&amp;Large</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enlarge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Decrease</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrease</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotation vertical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotation horizontal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>User guide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The user guide is not installed. It is looked for in:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The user guide %1 cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search the guide</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>the disk is full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; is read-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is read-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is locked by another program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the system gave no reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; does not exist</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmMessageBox</name>
    <message>
        <source>Prompt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Requst</source>
        <translation>Request</translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
