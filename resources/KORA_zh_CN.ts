<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BatchRequest</name>
    <message>
        <source>kora %1: %2
Try &apos;kora --help&apos; for the commands and their options.</source>
        <translation>kora %1：%2
运行 &apos;kora --help&apos; 查看命令及其选项。</translation>
    </message>
    <message>
        <source>one project at a time; &apos;%1&apos; is one too many</source>
        <translation>一次只能处理一个工程；&apos;%1&apos; 是多余的</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>未知选项 &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; takes no value</source>
        <translation>选项 &apos;--%1&apos; 不带值</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; needs a value</source>
        <translation>选项 &apos;--%1&apos; 需要一个值</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no valid value for &apos;--%2&apos;</source>
        <translation>&apos;%1&apos; 不是 &apos;--%2&apos; 的有效值</translation>
    </message>
    <message>
        <source>no project file given</source>
        <translation>未指定工程文件</translation>
    </message>
    <message>
        <source>the option &apos;--out&apos; is required</source>
        <translation>必须给出选项 &apos;--out&apos;</translation>
    </message>
    <message>
        <source>the range from %1 m to %2 m is empty</source>
        <translation>从 %1 m 到 %2 m 的范围为空</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: the report is written as .pdf, .odt, .doc or .docx</source>
        <translation>&apos;%1&apos;：报告只能写成 .pdf、.odt、.doc 或 .docx</translation>
    </message>
    <message>
        <source>the depth step must be at least 0.2 m</source>
        <translation>深度步长至少为 0.2 m</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: the picks are written as .csv or .las</source>
        <translation>&apos;%1&apos;：拾取只能写成 .csv 或 .las</translation>
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
        <translation>命令（不打开窗口；工程文件只读不写）：
  report PROJECT --out FILE [--from M] [--to M] [--step M] [--columns 1-4]
         [--header] [--grid] [--structures] [--frequency]
                 生成报告，按后缀写成 .pdf、.odt、.doc 或 .docx；
                 范围默认为整个工程，步长默认为报告对话框对该列数
                 推荐的步长（默认 2 列）
  pages PROJECT --out PREFIX [--from M] [--to M] [--piece-depth MM] [--original]
                 将页面保存为 JPEG 图块 PREFIX(12.00-14.00m).jpg，
                 每块 MM 毫米（默认 2000）；--original：仅保存图像
  picks PROJECT --out FILE.csv|FILE.las
                 导出构造拾取
  info PROJECT [--json]
                 显示工程信息并检查其图像块

在终端中运行时，进度输出到标准错误。
退出状态：0 完成，1 工作失败（未写入任何内容，原有文件保持不变），
2 用法错误。
</translation>
    </message>
</context>
<context>
    <name>BatchRunner</name>
    <message>
        <source>the folder &quot;%1&quot; does not exist; nothing was written</source>
        <translation>文件夹“%1”不存在；未写入任何内容</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be written; nothing was written</source>
        <translation>文件夹“%1”不可写；未写入任何内容</translation>
    </message>
    <message>
        <source>the range from %1 m to %2 m lies outside the project, which spans %3 m to %4 m</source>
        <translation>从 %1 m 到 %2 m 的范围超出了工程的深度范围（%3 m 至 %4 m）</translation>
    </message>
    <message>
        <source>the project file &quot;%1&quot; could not be opened</source>
        <translation>无法打开工程文件“%1”</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>文件：</translation>
    </message>
    <message>
        <source>Project Name:</source>
        <translation>工程名称：</translation>
    </message>
    <message>
        <source>Test department:</source>
        <translation>检测单位：</translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>孔号：</translation>
    </message>
    <message>
        <source>Person:</source>
        <translation>检测人：</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>日期：</translation>
    </message>
    <message>
        <source>Direction:</source>
        <translation>测井方向：</translation>
    </message>
    <message>
        <source>Depth range:</source>
        <translation>深度范围：</translation>
    </message>
    <message>
        <source>%1 m to %2 m</source>
        <translation>%1 m 至 %2 m</translation>
    </message>
    <message>
        <source>Diameter:</source>
        <translation>孔径：</translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation>%1 mm</translation>
    </message>
    <message>
        <source>Coordinates:</source>
        <translation>坐标：</translation>
    </message>
    <message>
        <source>Pieces:</source>
        <translation>图像块数：</translation>
    </message>
    <message>
        <source>Image width:</source>
        <translation>图像宽度：</translation>
    </message>
    <message>
        <source>%1 px</source>
        <translation>%1 像素</translation>
    </message>
    <message>
        <source>Check:</source>
        <translation>检查：</translation>
    </message>
    <message>
        <source>no faults found</source>
        <translation>未发现问题</translation>
    </message>
    <message>
        <source>Undecodable:</source>
        <translation>无法解码：</translation>
    </message>
    <message numerus="yes">
        <source>%n piece(s), ending at %1 m</source>
        <translation>
            <numerusform>%n 个图像块，止于 %1 m</numerusform>
        </translation>
    </message>
    <message>
        <source>Gaps:</source>
        <translation>缺口：</translation>
    </message>
    <message numerus="yes">
        <source>%1 px (%n piece(s))</source>
        <translation>
            <numerusform>%1 像素（%n 个图像块）</numerusform>
        </translation>
    </message>
    <message>
        <source>Widths differ:</source>
        <translation>宽度不一致：</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written (%2); nothing was written, an existing file is kept</source>
        <translation>无法写入“%1”（%2）；未写入任何内容，原有文件保持不变</translation>
    </message>
    <message>
        <source>the project is logged upwards; open it once in KORA, which turns it downwards, then make the report</source>
        <translation>该工程为自下而上测井；请先在 KORA 中打开一次（KORA 会将其转为自上而下），再生成报告</translation>
    </message>
    <message>
        <source>%1; the report was not written, an existing file is kept</source>
        <translation>%1；报告未写入，原有文件保持不变</translation>
    </message>
    <message>
        <source>the project is logged upwards; open it once in KORA, which turns it downwards, then save its pages</source>
        <translation>该工程为自下而上测井；请先在 KORA 中打开一次（KORA 会将其转为自上而下），再保存其页面</translation>
    </message>
    <message>
        <source>the project has no readable images or no borehole diameter</source>
        <translation>该工程没有可读取的图像，或没有钻孔直径</translation>
    </message>
    <message>
        <source>the pieces from %1 m on could not be written (the disk may be full, or the range holds no images)</source>
        <translation>从 %1 m 起的图像块无法写入（磁盘可能已满，或该范围内没有图像）</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>kora: unknown option &apos;%1&apos;
Try &apos;kora --help&apos; for the options.</source>
        <translation>kora：未知选项“%1”
运行“kora --help”查看可用选项。</translation>
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
        <translation>用法：%1 [选项]... [文件]
  或：%1 命令 工程 [选项]...
查看和解释井壁图像。

文件为工程（.prj）或图片；KORA 启动时将其打开。

选项：
  -h, --help     显示本帮助并退出
  -v, --version  显示版本并退出
  --             将其后的所有参数视为文件名

也接受工具包的选项（-platform、-style、-display ...）。
设置保存在 ~/.config/KD/QVNKORA.conf 中。

</translation>
    </message>
    <message>
        <source>kora: opens one file at a time; not opening %1</source>
        <translation>kora：一次只打开一个文件；未打开 %1</translation>
    </message>
</context>
<context>
    <name>ContrastDock</name>
    <message>
        <source>Wall contrast</source>
        <translation>井壁对比度</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>对比度</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>伽马</translation>
    </message>
    <message>
        <source>Automatic stretch</source>
        <translation>自动拉伸</translation>
    </message>
    <message>
        <source>Stretch the tones of each piece between its darkest and brightest 1 %</source>
        <translation>将每段图像的色调拉伸到其最暗与最亮各 1 % 之间</translation>
    </message>
    <message>
        <source>Dynamic normalisation</source>
        <translation>动态归一化</translation>
    </message>
    <message>
        <source>Equalise the tones over a window sliding down the hole</source>
        <translation>在沿井深滑动的窗口内均衡色调</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>窗口</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
</context>
<context>
    <name>CorrectionDialog</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The real depth must be a whole number of millimetres greater than 0.</source>
        <translation>实际深度必须是大于 0 的整数毫米数。</translation>
    </message>
    <message>
        <source>The correction angle must be a whole number of degrees.</source>
        <translation>校正角度必须是整数度数。</translation>
    </message>
    <message>
        <source>The real diameter must be a whole number of millimetres greater than 0.</source>
        <translation>实际孔径必须是大于 0 的整数毫米数。</translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation>请先打开工程文件！</translation>
    </message>
    <message>
        <source>The project file is being rewritten. Please wait until it is finished.</source>
        <translation>工程文件正在重写，请等待其完成。</translation>
    </message>
    <message>
        <source>Corrections</source>
        <translation>校正</translation>
    </message>
    <message>
        <source>Depth correction</source>
        <translation>深度校正</translation>
    </message>
    <message>
        <source>Test depth(mm):</source>
        <translation>测试深度(mm)：</translation>
    </message>
    <message>
        <source>Real depth(mm):</source>
        <translation>实际深度(mm)：</translation>
    </message>
    <message>
        <source>Angle correction</source>
        <translation>角度校正</translation>
    </message>
    <message>
        <source>Correction angle:</source>
        <translation>校正角度：</translation>
    </message>
    <message>
        <source>note:The default correction angle is north to east</source>
        <translation>注：默认校正角度为由北向东</translation>
    </message>
    <message>
        <source>Diameter correction</source>
        <translation>孔径校正</translation>
    </message>
    <message>
        <source>Test diameter(mm):</source>
        <translation>测试孔径(mm)：</translation>
    </message>
    <message>
        <source>Real diameter(mm):</source>
        <translation>实际孔径(mm)：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The structure picks of this project cannot be read: %1.
Correct the wall without moving them? They will then no longer match the wall.</source>
        <translation>无法读取该工程的构造拾取：%1。
是否只校正井壁而不移动拾取？之后拾取将与井壁不再吻合。</translation>
    </message>
    <message>
        <source>The diameter could not be written to the project file: %1. Nothing was corrected.</source>
        <translation>无法将孔径写入工程文件：%1。未做任何校正。</translation>
    </message>
    <message>
        <source>the project has no information row</source>
        <translation>工程没有工程信息记录</translation>
    </message>
    <message>
        <source>the structure picks could not be corrected (%1)</source>
        <translation>无法校正构造拾取（%1）</translation>
    </message>
</context>
<context>
    <name>CorrectionThread</name>
    <message>
        <source>the structure-pick table cannot be read (%1)</source>
        <translation>无法读取构造拾取表（%1）</translation>
    </message>
</context>
<context>
    <name>FileInfoWidget</name>
    <message>
        <source>depth range(mm):</source>
        <translation>深度范围(mm)：</translation>
    </message>
    <message>
        <source>Current:</source>
        <translation>当前：</translation>
    </message>
    <message>
        <source>Page depth:</source>
        <translation>页深度：</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>转到</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一页</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The end depth must be below the start depth.</source>
        <translation>结束深度必须大于起始深度。</translation>
    </message>
</context>
<context>
    <name>FrequencyTrackController</name>
    <message>
        <source>&amp;Fracture frequency</source>
        <translation>裂隙频率(&amp;F)</translation>
    </message>
    <message>
        <source>Show the fracture frequency track</source>
        <translation>显示裂隙频率道</translation>
    </message>
    <message>
        <source>Picks per metre beside the image, per type and in total</source>
        <translation>在图像旁显示每米拾取数，分类型及合计</translation>
    </message>
    <message>
        <source>%1 m window</source>
        <translation>%1 m 窗口</translation>
    </message>
    <message>
        <source>Terzaghi correction (1/|cos δ|, at most 10)</source>
        <translation>Terzaghi 校正（1/|cos δ|，最大 10）</translation>
    </message>
</context>
<context>
    <name>GraphicsFrequencyTrackItem</name>
    <message>
        <source>P10 (1/m), %1 m window</source>
        <translation>P10（条/m），%1 m 窗口</translation>
    </message>
    <message>
        <source>, Terzaghi-weighted</source>
        <translation>，Terzaghi 加权</translation>
    </message>
</context>
<context>
    <name>GraphicsRulerItem</name>
    <message>
        <source>Total:</source>
        <translation>总长：</translation>
    </message>
    <message>
        <source>unknown (no project scale, %1 pixels)</source>
        <translation>未知（无工程比例，%1 像素）</translation>
    </message>
</context>
<context>
    <name>GraphicsScene</name>
    <message>
        <source>Area Selecting finished.</source>
        <translation>区域选择完成。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Points are not enough to form a closed curve</source>
        <translation>点数不足，无法构成闭合曲线</translation>
    </message>
</context>
<context>
    <name>GraphicsSelCurveItem</name>
    <message>
        <source>Area of this closed curve is:</source>
        <translation>该闭合曲线的面积为：</translation>
    </message>
    <message>
        <source>unknown (no project scale, %1 pixels)</source>
        <translation>未知（无工程比例，%1 像素）</translation>
    </message>
</context>
<context>
    <name>GraphicsTextItem</name>
    <message>
        <source>Input text</source>
        <translation>输入文字</translation>
    </message>
</context>
<context>
    <name>HoleSurvey</name>
    <message>
        <source>The file is empty.</source>
        <translation>文件为空。</translation>
    </message>
    <message>
        <source>depth (depth or MD)</source>
        <translation>深度（depth 或 MD）</translation>
    </message>
    <message>
        <source>inclination (inclination or INC)</source>
        <translation>顶角（inclination 或 INC）</translation>
    </message>
    <message>
        <source>azimuth (azimuth or AZI)</source>
        <translation>方位角（azimuth 或 AZI）</translation>
    </message>
    <message>
        <source>The file has no column for %1. Its headings are: %2.</source>
        <translation>文件中没有%1列。其列标题为：%2。</translation>
    </message>
    <message>
        <source>depth</source>
        <translation>深度</translation>
    </message>
    <message>
        <source>inclination</source>
        <translation>顶角</translation>
    </message>
    <message>
        <source>azimuth</source>
        <translation>方位角</translation>
    </message>
    <message>
        <source>Line %1: the %2 &quot;%3&quot; is not a number.</source>
        <translation>第 %1 行：%2“%3”不是数字。</translation>
    </message>
    <message>
        <source>Line %1: the inclination %2° is outside 0° to 180°.</source>
        <translation>第 %1 行：顶角 %2° 超出 0° 至 180° 的范围。</translation>
    </message>
    <message>
        <source>Line %1: the depth %2 m does not follow the depth %3 m of the station before; the stations must be in increasing depth.</source>
        <translation>第 %1 行：深度 %2 m 不大于上一测点的深度 %3 m；测点必须按深度递增排列。</translation>
    </message>
    <message>
        <source>The file has headings but no stations.</source>
        <translation>文件只有列标题，没有测点。</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>无法读取文件：%1</translation>
    </message>
</context>
<context>
    <name>HoleSurveyController</name>
    <message>
        <source>Hole &amp;survey...</source>
        <translation>钻孔测斜(&amp;S)...</translation>
    </message>
    <message>
        <source>Import the hole&apos;s deviation survey, for the true orientation of the structure picks</source>
        <translation>导入钻孔测斜数据，用于计算构造拾取的真产状</translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation>请先打开工程文件！</translation>
    </message>
</context>
<context>
    <name>HoleSurveyDialog</name>
    <message>
        <source>Hole survey</source>
        <translation>钻孔测斜</translation>
    </message>
    <message>
        <source>Stations from a CSV file (columns depth or MD, inclination or INC, azimuth or AZI):</source>
        <translation>从 CSV 文件读取测点（列：depth 或 MD、inclination 或 INC、azimuth 或 AZI）：</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <source>A straight hole:</source>
        <translation>直孔：</translation>
    </message>
    <message>
        <source>Inclination from vertical:</source>
        <translation>顶角（自铅垂方向）：</translation>
    </message>
    <message>
        <source>Azimuth of the hole from north:</source>
        <translation>钻孔方位角（自北起算）：</translation>
    </message>
    <message>
        <source>Between stations the hole&apos;s direction follows a circular arc (minimum curvature).</source>
        <translation>测点之间钻孔方向按圆弧变化（最小曲率法）。</translation>
    </message>
    <message>
        <source>The project has no hole survey: dips are measured against the hole.</source>
        <translation>该工程没有钻孔测斜数据：倾角相对钻孔测量。</translation>
    </message>
    <message>
        <source>high side</source>
        <translation>高边</translation>
    </message>
    <message>
        <source>north</source>
        <translation>北</translation>
    </message>
    <message>
        <source>Straight hole, inclination %1°, azimuth %2°; azimuth reference: %3.</source>
        <translation>直孔，顶角 %1°，方位角 %2°；方位基准：%3。</translation>
    </message>
    <message>
        <source>%1 stations from %2 m to %3 m; azimuth reference: %4.</source>
        <translation>%1 个测点，%2 m 至 %3 m；方位基准：%4。</translation>
    </message>
    <message>
        <source>CSV files (*.csv *.txt);;All files (*)</source>
        <translation>CSV 文件 (*.csv *.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Choose the CSV file of the survey.</source>
        <translation>请选择测斜数据的 CSV 文件。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The hole survey was not stored: %1</source>
        <translation>钻孔测斜数据未保存：%1</translation>
    </message>
</context>
<context>
    <name>HoleSurveyStore</name>
    <message>
        <source>The project file cannot be opened.</source>
        <translation>无法打开工程文件。</translation>
    </message>
    <message>
        <source>The project file %1 does not exist.</source>
        <translation>工程文件 %1 不存在。</translation>
    </message>
    <message>
        <source>The project file is read-only.</source>
        <translation>工程文件为只读。</translation>
    </message>
    <message>
        <source>The survey has no stations.</source>
        <translation>测斜数据没有测点。</translation>
    </message>
    <message>
        <source>The project file cannot be opened: %1</source>
        <translation>无法打开工程文件：%1</translation>
    </message>
    <message>
        <source>The file is not a project file (it has no image table or no project information).</source>
        <translation>该文件不是工程文件（没有图像表或没有工程信息）。</translation>
    </message>
    <message>
        <source>The project has no hole survey yet.</source>
        <translation>该工程还没有钻孔测斜数据。</translation>
    </message>
</context>
<context>
    <name>Main3DWindow</name>
    <message>
        <source>3D tool</source>
        <translation>三维工具</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tools</source>
        <translation>工具</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>关闭(&amp;L)</translation>
    </message>
    <message>
        <source>Close the picture</source>
        <translation>关闭图片</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>Exit the application</source>
        <translation>退出应用程序</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>Show the application&apos;s About box</source>
        <translation>显示应用程序的“关于”对话框</translation>
    </message>
    <message>
        <source>&amp;DisplaySetting</source>
        <translation>显示设置(&amp;D)</translation>
    </message>
    <message>
        <source>Popup display setting dialog</source>
        <translation>弹出显示设置对话框</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>英文(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Chinese</source>
        <translation>中文(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>RecentFiles</source>
        <translation>最近的文件</translation>
    </message>
    <message>
        <source>RecentProjects</source>
        <translation>最近的工程</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>就绪</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Whether to save the changes?</source>
        <translation>是否保存修改？</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>放弃</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>&lt;p&gt; &lt;b&gt;KORA&lt;/b&gt; &lt;/p&gt; </source>
        <translation>&lt;p&gt; &lt;b&gt;KORA&lt;/b&gt; &lt;/p&gt; </translation>
    </message>
    <message>
        <source>&lt;p&gt; Borehole-wall image viewer and interpretation tool. &lt;/p&gt; </source>
        <translation>&lt;p&gt; 钻孔孔壁图像浏览与解释工具。 &lt;/p&gt; </translation>
    </message>
    <message>
        <source>&lt;p&gt; Pages through the unrolled 360° image of a borehole wall by depth, &lt;/p&gt; </source>
        <translation>&lt;p&gt; 按深度分页浏览展开的 360° 钻孔孔壁图像， &lt;/p&gt; </translation>
    </message>
    <message>
        <source>&lt;p&gt; measures lengths, angles, dips and areas on it, corrects depth and azimuth, &lt;/p&gt; </source>
        <translation>&lt;p&gt; 在图像上量测长度、角度、倾角和面积，校正深度与方位， &lt;/p&gt; </translation>
    </message>
    <message>
        <source>&lt;p&gt; and exports reports and 3D views of the hole. &lt;/p&gt; </source>
        <translation>&lt;p&gt; 并导出钻孔报告和三维视图。 &lt;/p&gt; </translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Open project file</source>
        <translation>打开工程文件</translation>
    </message>
    <message>
        <source>project (*.prj)</source>
        <translation>工程文件 (*.prj)</translation>
    </message>
    <message>
        <source>The project file &quot;%1&quot; does not exist!</source>
        <translation>工程文件“%1”不存在！</translation>
    </message>
    <message>
        <source>Waiting for process project file...</source>
        <translation>正在处理工程文件，请稍候...</translation>
    </message>
    <message>
        <source>The upward project could not be converted; the project file was left unchanged.</source>
        <translation>上行工程无法转换；工程文件未作改动。</translation>
    </message>
    <message>
        <source>Open Picture</source>
        <translation>打开图片</translation>
    </message>
    <message>
        <source>Picture (*.jpg)</source>
        <translation>图片 (*.jpg)</translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation>格式错误！</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>The project has no readable images or no borehole diameter!</source>
        <translation>该工程没有可读取的图像或没有钻孔孔径！</translation>
    </message>
    <message>
        <source>Reading images,please wait!</source>
        <translation>正在读取图像，请稍候！</translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation>请先打开工程文件！</translation>
    </message>
    <message>
        <source>No pictures!</source>
        <translation>没有图像！</translation>
    </message>
    <message>
        <source>Database file open failed!</source>
        <translation>数据库文件打开失败！</translation>
    </message>
    <message>
        <source>d</source>
        <translation>°</translation>
    </message>
    <message>
        <source>inclination</source>
        <translation>倾向</translation>
    </message>
    <message>
        <source>D</source>
        <translation>°</translation>
    </message>
    <message>
        <source>inclinationAngle</source>
        <translation>倾角</translation>
    </message>
    <message>
        <source>ToolBar</source>
        <translation>工具栏</translation>
    </message>
    <message>
        <source>Range is too big.Please input a smaller range!</source>
        <translation>范围太大，请输入较小的范围！</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; does not exist!</source>
        <translation>文件“%1”不存在！</translation>
    </message>
    <message>
        <source>The project file is being rewritten. Please wait until it is finished.</source>
        <translation>工程文件正在重写，请等待其完成。</translation>
    </message>
    <message>
        <source>unknown (no project scale, %1 pixels)</source>
        <translation>未知（无工程比例，%1 像素）</translation>
    </message>
    <message>
        <source>Waiting for correcting depth...</source>
        <translation>正在校正深度，请稍候...</translation>
    </message>
    <message>
        <source>Waiting for correcting angle...</source>
        <translation>正在校正角度，请稍候...</translation>
    </message>
    <message>
        <source>The correction could not be made; the project file was left unchanged.</source>
        <translation>无法完成校正，工程文件保持不变。</translation>
    </message>
    <message>
        <source>KORA</source>
        <translation>KORA</translation>
    </message>
    <message>
        <source>Save picture as</source>
        <translation>图片另存为</translation>
    </message>
    <message>
        <source>*.jpg</source>
        <translation>*.jpg</translation>
    </message>
    <message>
        <source>Save successfully</source>
        <translation>保存成功</translation>
    </message>
    <message>
        <source>Image is too big to save or range error, Please chose a right page depth!</source>
        <translation>图像太大无法保存或范围错误，请选择合适的页深度！</translation>
    </message>
    <message>
        <source>%1 - %2 (%3 m - %4 m)</source>
        <translation>%1 - %2 (%3 m - %4 m)</translation>
    </message>
    <message>
        <source>Roll view</source>
        <translation>卷动视图</translation>
    </message>
    <message>
        <source>No picture!</source>
        <translation>没有图片！</translation>
    </message>
    <message>
        <source>no Image!</source>
        <translation>没有图像！</translation>
    </message>
    <message>
        <source>Image is too big to save, Please chose a smaller page!</source>
        <translation>图像太大无法保存，请选择较小的页面！</translation>
    </message>
    <message>
        <source>/CurrentImage.jpg</source>
        <translation>/CurrentImage.jpg</translation>
    </message>
    <message>
        <source>/LeftRuler.jpg</source>
        <translation>/LeftRuler.jpg</translation>
    </message>
    <message>
        <source>/TopRuler.jpg</source>
        <translation>/TopRuler.jpg</translation>
    </message>
    <message>
        <source>3D view</source>
        <translation>三维视图</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>None Project!</source>
        <translation>没有工程！</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>导出PDF</translation>
    </message>
    <message>
        <source>*.pdf</source>
        <translation>*.pdf</translation>
    </message>
    <message>
        <source>Export DOC</source>
        <translation>导出DOC</translation>
    </message>
    <message>
        <source>*.doc</source>
        <translation>*.doc</translation>
    </message>
    <message>
        <source>*.docx</source>
        <translation>*.docx</translation>
    </message>
    <message>
        <source>*.odt</source>
        <translation>*.odt</translation>
    </message>
    <message>
        <source>Waiting for </source>
        <translation>正在等待</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Saving report successfully , do you want to open it ?</source>
        <translation>报告保存成功，是否打开？</translation>
    </message>
    <message>
        <source>User &amp;guide</source>
        <translation>用户指南(&amp;G)</translation>
    </message>
    <message>
        <source>Show the user guide</source>
        <translation>显示用户指南</translation>
    </message>
    <message>
        <source>&lt;p&gt; Version: %1 &lt;/p&gt; </source>
        <translation>&lt;p&gt; 版本：%1 &lt;/p&gt; </translation>
    </message>
    <message>
        <source>The picture &quot;%1&quot; cannot be opened.</source>
        <translation>无法打开图片“%1”。</translation>
    </message>
    <message>
        <source>The roll view shows the page on screen (%1 m - %2 m). Go to the page of the range first.</source>
        <translation>卷动视图只显示屏幕上的当前页（%1 m - %2 m）。请先转到该范围所在的页。</translation>
    </message>
    <message>
        <source>The project cannot be corrected: %1.</source>
        <translation>无法校正该工程：%1。</translation>
    </message>
    <message>
        <source>The correction could not be made: %1. The project file was left unchanged.</source>
        <translation>无法完成校正：%1。工程文件保持不变。</translation>
    </message>
    <message>
        <source>The wall was corrected; the structure picks were left where they were, because their table cannot be read.</source>
        <translation>井壁已校正；由于无法读取构造拾取表，拾取保持原位。</translation>
    </message>
    <message numerus="yes">
        <source>%n pick(s) could not be moved: a value the correction needs is missing or not a number.</source>
        <translation>
            <numerusform>%n 个拾取无法移动：校正所需的数值缺失或不是数字。</numerusform>
        </translation>
    </message>
    <message>
        <source>The picture could not be saved: %1.</source>
        <translation>无法保存图片：%1。</translation>
    </message>
    <message>
        <source>The project &quot;%1&quot; cannot be opened: %2.</source>
        <translation>无法打开工程“%1”：%2。</translation>
    </message>
    <message>
        <source>The project is opened for viewing only: %1. Corrections and structure picks cannot be saved.</source>
        <translation>工程以只读方式打开，仅供查看：%1。校正和构造拾取无法保存。</translation>
    </message>
    <message>
        <source>[read-only]</source>
        <translation>[只读]</translation>
    </message>
    <message>
        <source>This is the last page.</source>
        <translation>已是最后一页。</translation>
    </message>
    <message>
        <source>This is the first page.</source>
        <translation>已是第一页。</translation>
    </message>
</context>
<context>
    <name>MouseLabel</name>
    <message>
        <source>depth </source>
        <translation>深度 </translation>
    </message>
    <message>
        <source>direct </source>
        <translation>方位 </translation>
    </message>
</context>
<context>
    <name>MyFontDialog</name>
    <message>
        <source>Font</source>
        <translation>字体</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>字号</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>MyGLWidget</name>
    <message>
        <source>N</source>
        <translation>北</translation>
    </message>
    <message>
        <source>E</source>
        <translation>东</translation>
    </message>
    <message>
        <source>S</source>
        <translation>南</translation>
    </message>
    <message>
        <source>W</source>
        <translation>西</translation>
    </message>
</context>
<context>
    <name>PickExporter</name>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>LAS 2.0 files (*.las)</source>
        <translation>LAS 2.0 文件 (*.las)</translation>
    </message>
</context>
<context>
    <name>PickListDock</name>
    <message>
        <source>Depth (m)</source>
        <translation>深度 (m)</translation>
    </message>
    <message>
        <source>Dip (°)</source>
        <translation>倾角 (°)</translation>
    </message>
    <message>
        <source>Dip direction (°)</source>
        <translation>倾向 (°)</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Structure picks (true orientation)</source>
        <translation>构造拾取（真产状）</translation>
    </message>
    <message>
        <source>True dip (°)</source>
        <translation>真倾角 (°)</translation>
    </message>
    <message>
        <source>True dip direction (°)</source>
        <translation>真倾向 (°)</translation>
    </message>
    <message>
        <source>Structure picks (measured)</source>
        <translation>构造拾取（实测）</translation>
    </message>
    <message>
        <source>invalid</source>
        <translation>无效</translation>
    </message>
</context>
<context>
    <name>ProjectCheck</name>
    <message>
        <source>The project file &quot;%1&quot; could not be opened.</source>
        <translation>无法打开工程文件“%1”。</translation>
    </message>
    <message>
        <source>The pieces could not be read: %1</source>
        <translation>无法读取图像块：%1</translation>
    </message>
</context>
<context>
    <name>ProjectInfo</name>
    <message>
        <source>it was interrupted during a change; open it where it can be written to finish restoring it</source>
        <translation>它在修改过程中被中断；请在可写的位置打开它以完成恢复</translation>
    </message>
</context>
<context>
    <name>ProjectInfoDialog</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The project information could not be saved to the project file!</source>
        <translation>工程信息无法保存到工程文件！</translation>
    </message>
    <message>
        <source>Project name:</source>
        <translation>工程名称：</translation>
    </message>
    <message>
        <source>Detection unit:</source>
        <translation>检测单位：</translation>
    </message>
    <message>
        <source>Coordinates:</source>
        <translation>坐标：</translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>孔号：</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>日期：</translation>
    </message>
    <message>
        <source>Total diameter(mm):</source>
        <translation>总深度(m)：</translation>
    </message>
    <message>
        <source>Diameter(mm):</source>
        <translation>孔径(mm)：</translation>
    </message>
    <message>
        <source>Start depth(mm):</source>
        <translation>起始深度(m)：</translation>
    </message>
    <message>
        <source>Person:</source>
        <translation>检测人：</translation>
    </message>
    <message>
        <source>Orifice elevation:</source>
        <translation>孔口高程：</translation>
    </message>
    <message>
        <source>Waterlevel</source>
        <translation>稳定水位：</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The project has no hole survey: dips and dip directions are measured against the hole, azimuth 0 is north.</source>
        <translation>该工程没有钻孔测斜数据：倾角和倾向相对钻孔测量，方位 0 为北。</translation>
    </message>
    <message>
        <source>Where the hole is vertical it has no high side: north is used there.</source>
        <translation>钻孔铅直处没有高边：该处以北为基准。</translation>
    </message>
    <message>
        <source>The azimuth reference could not be saved: %1</source>
        <translation>无法保存方位基准：%1</translation>
    </message>
    <message>
        <source>Azimuth reference:</source>
        <translation>方位基准：</translation>
    </message>
    <message>
        <source>North</source>
        <translation>北</translation>
    </message>
    <message>
        <source>High side of the hole</source>
        <translation>钻孔高边</translation>
    </message>
</context>
<context>
    <name>QDlgDisplaySetting</name>
    <message>
        <source>显示设置</source>
        <translation>显示设置</translation>
    </message>
    <message>
        <source>网格线</source>
        <translation>网格线</translation>
    </message>
    <message>
        <source>网格尺寸</source>
        <translation>网格尺寸</translation>
    </message>
    <message>
        <source>10*10</source>
        <translation>10*10</translation>
    </message>
    <message>
        <source>20*20</source>
        <translation>20*20</translation>
    </message>
    <message>
        <source>50*50</source>
        <translation>50*50</translation>
    </message>
</context>
<context>
    <name>QReportBuilder</name>
    <message>
        <source>The report cannot be laid out: the project has no image width or no borehole diameter, or the depth step is 0.</source>
        <translation>无法排版报告：工程没有图像宽度或钻孔孔径，或深度步长为 0。</translation>
    </message>
    <message>
        <source>The project file could not be opened for the report.</source>
        <translation>无法打开工程文件生成报告。</translation>
    </message>
    <message>
        <source>The report file could not be created.</source>
        <translation>无法创建报告文件。</translation>
    </message>
    <message>
        <source>The report was stopped.</source>
        <translation>报告已停止。</translation>
    </message>
    <message>
        <source>A temporary image of the report could not be written.</source>
        <translation>无法写入报告的临时图像。</translation>
    </message>
    <message>
        <source>N</source>
        <translation>北</translation>
    </message>
    <message>
        <source>E</source>
        <translation>东</translation>
    </message>
    <message>
        <source>S</source>
        <translation>南</translation>
    </message>
    <message>
        <source>W</source>
        <translation>西</translation>
    </message>
    <message>
        <source>Project Name:</source>
        <translation>工程名称：</translation>
    </message>
    <message>
        <source>Test department:</source>
        <translation>检测单位：</translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>孔号：</translation>
    </message>
    <message>
        <source>Person:</source>
        <translation>检测人：</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>日期：</translation>
    </message>
    <message>
        <source>Depth:</source>
        <translation>深度：</translation>
    </message>
    <message>
        <source>Start:</source>
        <translation>起始：</translation>
    </message>
    <message>
        <source>Diameter:</source>
        <translation>孔径：</translation>
    </message>
    <message>
        <source>Coordinates:</source>
        <translation>坐标：</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>孔口高程：</translation>
    </message>
    <message>
        <source>WaterLever:</source>
        <translation>稳定水位：</translation>
    </message>
    <message>
        <source>%1 m</source>
        <translation>%1 m</translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation>%1 mm</translation>
    </message>
</context>
<context>
    <name>QReportPDF</name>
    <message>
        <source>No report file name was given.</source>
        <translation>没有给出报告文件名。</translation>
    </message>
    <message>
        <source>.pdf</source>
        <translation>.pdf</translation>
    </message>
    <message>
        <source>The report file &quot;%1&quot; could not be written.</source>
        <translation>无法写入报告文件“%1”。</translation>
    </message>
    <message>
        <source>The report file &quot;%1&quot; could not be written: %2.</source>
        <translation>无法写入报告文件“%1”：%2。</translation>
    </message>
</context>
<context>
    <name>QReportWord</name>
    <message>
        <source>.doc</source>
        <translation>.doc</translation>
    </message>
    <message>
        <source>/temp_%1.jpg</source>
        <translation>/temp_%1.jpg</translation>
    </message>
    <message>
        <source>A temporary image of the report could not be written.</source>
        <translation>无法写入报告的临时图像。</translation>
    </message>
</context>
<context>
    <name>QWord</name>
    <message>
        <source>Error: file already exist!</source>
        <translation>错误：文件已存在！</translation>
    </message>
    <message>
        <source>Error: file name empty</source>
        <translation>错误：文件名为空</translation>
    </message>
    <message>
        <source>Error: word not installed!</source>
        <translation>错误：未安装文字处理软件！</translation>
    </message>
    <message>
        <source>The picture could not be read.</source>
        <translation>无法读取图片。</translation>
    </message>
    <message>
        <source>Error: the document could not be written!</source>
        <translation>错误：无法写入文档！</translation>
    </message>
    <message>
        <source>Error: the word processor could not be started!</source>
        <translation>错误：无法启动文字处理软件！</translation>
    </message>
    <message>
        <source>Error: the conversion was stopped!</source>
        <translation>错误：转换已停止！</translation>
    </message>
    <message>
        <source>Error: the word processor did not finish in time!</source>
        <translation>错误：文字处理软件未能按时完成！</translation>
    </message>
    <message>
        <source>Error: the word processor could not convert the document!</source>
        <translation>错误：文字处理软件无法转换文档！</translation>
    </message>
</context>
<context>
    <name>RangeDialog</name>
    <message>
        <source>start(m)</source>
        <translation>起始(m)</translation>
    </message>
    <message>
        <source>end(m)</source>
        <translation>终止(m)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Range error,start depth is larger than end depth!</source>
        <translation>范围错误，起始深度大于终止深度！</translation>
    </message>
    <message>
        <source>The range must less than 2m!</source>
        <translation>范围必须小于 2 m！</translation>
    </message>
</context>
<context>
    <name>ReportDlg</name>
    <message>
        <source>ReportDlg</source>
        <translation>导出报告</translation>
    </message>
    <message>
        <source>Column per page</source>
        <translation>每页列数</translation>
    </message>
    <message>
        <source>2 columns best</source>
        <translation>2列最佳</translation>
    </message>
    <message>
        <source>WithGridLines</source>
        <translation>带网格线</translation>
    </message>
    <message>
        <source>With Header</source>
        <translation>带表头</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>范围</translation>
    </message>
    <message>
        <source>From </source>
        <translation>从 </translation>
    </message>
    <message>
        <source> m </source>
        <translation> m </translation>
    </message>
    <message>
        <source>To </source>
        <translation>到 </translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source>DepthStep</source>
        <translation>深度步长</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>Export Format</source>
        <translation>导出格式</translation>
    </message>
    <message>
        <source>word</source>
        <translation>Word文档</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>PrintPreview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>m(%1m better)</source>
        <translation>m(建议%1m)</translation>
    </message>
    <message>
        <source>Step value must be greater than or equal 0.2 , please put in again !!!</source>
        <translation>步长必须大于或等于0.2，请重新输入！！！</translation>
    </message>
    <message>
        <source>Stop value must be greater than start value , please put in again !!!</source>
        <translation>终止值必须大于起始值，请重新输入！！！</translation>
    </message>
    <message>
        <source>Structures page</source>
        <translation>构造页</translation>
    </message>
    <message>
        <source>A PDF report ends with the stereonet and rose of the picks in its range</source>
        <translation>PDF 报告末尾附加其深度范围内拾取的赤平投影图和玫瑰图</translation>
    </message>
    <message>
        <source>Frequency track</source>
        <translation>裂隙频率道</translation>
    </message>
    <message>
        <source>A PDF report shows the picks per metre (P10) beside each block</source>
        <translation>PDF 报告在每个图块旁显示每米拾取数（P10）</translation>
    </message>
</context>
<context>
    <name>RewriteProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>RosePlot</name>
    <message>
        <source>Rose diagram</source>
        <translation>玫瑰图</translation>
    </message>
    <message>
        <source>N</source>
        <translation>北</translation>
    </message>
    <message>
        <source>E</source>
        <translation>东</translation>
    </message>
    <message>
        <source>S</source>
        <translation>南</translation>
    </message>
    <message>
        <source>W</source>
        <translation>西</translation>
    </message>
    <message numerus="yes">
        <source>Dip directions, %n pick(s), 10° bins, fullest bin %1</source>
        <translation>
            <numerusform>倾向，%n 个拾取，10° 分组，最多一组 %1 个</numerusform>
        </translation>
    </message>
    <message>
        <source>No picks</source>
        <translation>没有拾取</translation>
    </message>
    <message numerus="yes">
        <source>%n left out (invalid values)</source>
        <translation>
            <numerusform>%n 个未计入（数值无效）</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveDialog</name>
    <message>
        <source>The current image is too large to save. 
It needs to saved into different images.
</source>
        <translation>当前图像太大，无法保存。
需要分成多张图像保存。
</translation>
    </message>
    <message>
        <source>Select depth of one image(mm):
</source>
        <translation>选择单张图像的深度(mm)：
</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Will save into </source>
        <translation>将保存为 </translation>
    </message>
    <message>
        <source> images</source>
        <translation> 张图像</translation>
    </message>
</context>
<context>
    <name>ScrollArea</name>
    <message>
        <source>Previous</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一页</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Save picture as</source>
        <translation>图片另存为</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The picture could not be saved.</source>
        <translation>无法保存图片。</translation>
    </message>
</context>
<context>
    <name>StereonetPlot</name>
    <message>
        <source>Stereonet</source>
        <translation>赤平投影图</translation>
    </message>
    <message>
        <source>N</source>
        <translation>北</translation>
    </message>
    <message>
        <source>E</source>
        <translation>东</translation>
    </message>
    <message>
        <source>S</source>
        <translation>南</translation>
    </message>
    <message>
        <source>W</source>
        <translation>西</translation>
    </message>
    <message>
        <source>mean %1°/%2°</source>
        <translation>平均 %1°/%2°</translation>
    </message>
    <message>
        <source>No picks</source>
        <translation>没有拾取</translation>
    </message>
    <message numerus="yes">
        <source>%n left out (invalid values)</source>
        <translation>
            <numerusform>%n 个未计入（数值无效）</numerusform>
        </translation>
    </message>
    <message>
        <source>no mean: no picks of this type</source>
        <translation>无平均值：该类型没有拾取</translation>
    </message>
</context>
<context>
    <name>StructurePick</name>
    <message>
        <source>fracture</source>
        <translation>裂隙</translation>
    </message>
    <message>
        <source>bedding</source>
        <translation>层理</translation>
    </message>
    <message>
        <source>vein</source>
        <translation>脉</translation>
    </message>
    <message>
        <source>breakout</source>
        <translation>崩落</translation>
    </message>
    <message>
        <source>other</source>
        <translation>其他</translation>
    </message>
</context>
<context>
    <name>StructurePickController</name>
    <message>
        <source>Export &amp;picks...</source>
        <translation>导出拾取(&amp;P)...</translation>
    </message>
    <message>
        <source>Structure picks are made on the pages of a project: a single picture has no depth scale and no borehole diameter.</source>
        <translation>构造拾取只能在工程的页面上进行：单张图片没有深度刻度，也没有钻孔直径。</translation>
    </message>
    <message>
        <source>The project has no borehole diameter, so the dip of a plane cannot be computed. Set the diameter in the corrections first.</source>
        <translation>工程没有钻孔直径，无法计算面的倾角。请先在校正中设置直径。</translation>
    </message>
    <message>
        <source>Structure picks are made on a page of the project: read a page first.</source>
        <translation>构造拾取在工程的页面上进行：请先读取一页。</translation>
    </message>
    <message>
        <source>Structure pick: click points along the trace; a right click, Enter or the tool button ends the pick.</source>
        <translation>构造拾取：沿迹线点击各点；单击右键、按回车键或再次点击工具按钮结束拾取。</translation>
    </message>
    <message numerus="yes">
        <source>A structure pick needs at least three points along the trace; this one had %n. Nothing was kept.</source>
        <translation>
            <numerusform>构造拾取至少需要沿迹线的三个点；本次只有 %n 个点。未保留任何内容。</numerusform>
        </translation>
    </message>
    <message>
        <source>These points do not define a plane: they need at least three different azimuths. Nothing was kept.</source>
        <translation>这些点不能确定一个面：至少需要三个不同的方位。未保留任何内容。</translation>
    </message>
    <message>
        <source>Structure pick %1</source>
        <translation>构造拾取 %1</translation>
    </message>
    <message>
        <source>The project file is read-only: structure picks are kept in memory only and are lost when the project is closed.</source>
        <translation>工程文件为只读：构造拾取只保存在内存中，关闭工程后将丢失。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The structure pick could not be stored in the project file (%1). It is kept in memory until the project is closed.</source>
        <translation>构造拾取无法保存到工程文件中（%1）。在关闭工程之前它保存在内存中。</translation>
    </message>
    <message>
        <source>These points do not define a plane; the pick was not changed.</source>
        <translation>这些点不能确定一个面；拾取未更改。</translation>
    </message>
    <message>
        <source>The change of the structure pick could not be stored in the project file (%1).</source>
        <translation>构造拾取的更改无法保存到工程文件中（%1）。</translation>
    </message>
    <message>
        <source>The structure pick could not be deleted from the project file (%1).</source>
        <translation>无法从工程文件中删除构造拾取（%1）。</translation>
    </message>
    <message>
        <source>The picks could not be written to &quot;%1&quot;: %2</source>
        <translation>无法将拾取写入“%1”：%2</translation>
    </message>
    <message>
        <source>Structure picks written to %1</source>
        <translation>构造拾取已写入 %1</translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation>请先打开工程文件！</translation>
    </message>
    <message>
        <source>The project has no structure picks yet.</source>
        <translation>该工程还没有构造拾取。</translation>
    </message>
    <message>
        <source>Export picks</source>
        <translation>导出拾取</translation>
    </message>
    <message>
        <source>Write the structure picks of the project to a CSV or LAS file</source>
        <translation>将工程的构造拾取写入 CSV 或 LAS 文件</translation>
    </message>
</context>
<context>
    <name>StructurePickDialog</name>
    <message>
        <source>Structure pick</source>
        <translation>构造拾取</translation>
    </message>
    <message>
        <source>Depth, dip/dip direction:</source>
        <translation>深度，倾角/倾向：</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>类型：</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>备注：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>StructurePickStore</name>
    <message>
        <source>it is a %1, not a table</source>
        <translation>它是 %1，而不是表</translation>
    </message>
    <message>
        <source>the column &quot;%1&quot; is missing</source>
        <translation>缺少列“%1”</translation>
    </message>
    <message>
        <source>its id is not an integer key</source>
        <translation>其 id 不是整数键</translation>
    </message>
</context>
<context>
    <name>StructurePlot</name>
    <message>
        <source>True orientation (hole survey)</source>
        <translation>真产状（钻孔测斜）</translation>
    </message>
    <message>
        <source>Measured orientation (relative to the hole)</source>
        <translation>实测产状（相对钻孔）</translation>
    </message>
</context>
<context>
    <name>StructuresController</name>
    <message>
        <source>&amp;Structures</source>
        <translation>构造(&amp;S)</translation>
    </message>
    <message>
        <source>Stereonet, rose and tadpole plots of the structure picks</source>
        <translation>构造拾取的赤平投影图、玫瑰图和蝌蚪图</translation>
    </message>
    <message>
        <source>Structures</source>
        <translation>构造</translation>
    </message>
    <message>
        <source>Tadpole plot</source>
        <translation>蝌蚪图</translation>
    </message>
    <message>
        <source>Please open a project file first!</source>
        <translation>请先打开工程文件！</translation>
    </message>
</context>
<context>
    <name>StructuresPage</name>
    <message numerus="yes">
        <source>Structures %1 m – %2 m, %n pick(s)</source>
        <translation>
            <numerusform>构造 %1 m – %2 m，%n 个拾取</numerusform>
        </translation>
    </message>
    <message>
        <source>Picks per metre (P10), %1 m intervals</source>
        <translation>每米拾取数（P10），%1 m 区间</translation>
    </message>
    <message>
        <source>Depth (m)</source>
        <translation>深度 (m)</translation>
    </message>
    <message>
        <source>all</source>
        <translation>全部</translation>
    </message>
</context>
<context>
    <name>StructuresWindow</name>
    <message>
        <source>Structures</source>
        <translation>构造</translation>
    </message>
    <message>
        <source>Stereonet</source>
        <translation>赤平投影图</translation>
    </message>
    <message>
        <source>Rose diagram</source>
        <translation>玫瑰图</translation>
    </message>
    <message>
        <source>Tadpole plot</source>
        <translation>蝌蚪图</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>从：</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>到：</translation>
    </message>
    <message>
        <source>Mean of:</source>
        <translation>平均对象：</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>导出...</translation>
    </message>
    <message>
        <source>Great circles</source>
        <translation>大圆</translation>
    </message>
    <message>
        <source>all picks</source>
        <translation>全部拾取</translation>
    </message>
    <message>
        <source>Export plot</source>
        <translation>导出图件</translation>
    </message>
    <message>
        <source>PNG picture (*.png);;SVG drawing (*.svg)</source>
        <translation>PNG 图片 (*.png);;SVG 图形 (*.svg)</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The plot could not be written to &quot;%1&quot;: %2.</source>
        <translation>图件无法写入“%1”：%2。</translation>
    </message>
</context>
<context>
    <name>TadpolePlot</name>
    <message>
        <source>Tadpole plot</source>
        <translation>蝌蚪图</translation>
    </message>
    <message>
        <source>True dip (°)</source>
        <translation>真倾角 (°)</translation>
    </message>
    <message>
        <source>Dip against the hole (°)</source>
        <translation>相对钻孔的倾角 (°)</translation>
    </message>
</context>
<context>
    <name>TextDialog</name>
    <message>
        <source>Select font...</source>
        <translation>选择字体...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Select Font</source>
        <translation>选择字体</translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>Open project</source>
        <translation>打开工程</translation>
    </message>
    <message>
        <source>Open a project file</source>
        <translation>打开工程文件</translation>
    </message>
    <message>
        <source>&amp;Open picture</source>
        <translation>打开图片(&amp;O)</translation>
    </message>
    <message>
        <source>Open picture</source>
        <translation>打开图片</translation>
    </message>
    <message>
        <source>&amp;current image</source>
        <translation>保存当前图像(&amp;C)</translation>
    </message>
    <message>
        <source>Save the current image</source>
        <translation>保存当前图像</translation>
    </message>
    <message>
        <source>save &amp;Original image</source>
        <translation>保存原始图像(&amp;O)</translation>
    </message>
    <message>
        <source>Save the original image</source>
        <translation>保存原始图像</translation>
    </message>
    <message>
        <source>s&amp;ave as</source>
        <translation>另存为(&amp;A)</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Export report</source>
        <translation>导出报告</translation>
    </message>
    <message>
        <source>&amp;Roll</source>
        <translation>卷动(&amp;R)</translation>
    </message>
    <message>
        <source>Roll the picture</source>
        <translation>卷动显示图像</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>Delete item</source>
        <translation>删除图元</translation>
    </message>
    <message>
        <source>&amp;Project Information</source>
        <translation>工程信息(&amp;P)</translation>
    </message>
    <message>
        <source>Show or edit project Information</source>
        <translation>查看或编辑工程信息</translation>
    </message>
    <message>
        <source>&amp;Correction</source>
        <translation>校正(&amp;C)</translation>
    </message>
    <message>
        <source>Corrections</source>
        <translation>校正</translation>
    </message>
    <message>
        <source>&amp;Magnetic declination correctionBtn</source>
        <translation>磁偏角校正(&amp;M)</translation>
    </message>
    <message>
        <source>Correct magnetic declination</source>
        <translation>校正磁偏角</translation>
    </message>
    <message>
        <source>&amp;Diameter correctionBtn</source>
        <translation>孔径校正(&amp;D)</translation>
    </message>
    <message>
        <source>Correct diameter</source>
        <translation>校正孔径</translation>
    </message>
    <message>
        <source>&amp;Show 3D</source>
        <translation>三维显示(&amp;S)</translation>
    </message>
    <message>
        <source>Show 3D Image</source>
        <translation>显示三维图像</translation>
    </message>
    <message>
        <source>P&amp;en</source>
        <translation>画笔(&amp;E)</translation>
    </message>
    <message>
        <source>Pen</source>
        <translation>画笔</translation>
    </message>
    <message>
        <source>I&amp;nsert line</source>
        <translation>插入直线(&amp;N)</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>直线</translation>
    </message>
    <message>
        <source>Measure length</source>
        <translation>测量长度</translation>
    </message>
    <message>
        <source>M&amp;easure length</source>
        <translation>测量长度(&amp;E)</translation>
    </message>
    <message>
        <source>Measure angle</source>
        <translation>测量角度</translation>
    </message>
    <message>
        <source> Mark lithology</source>
        <translation>岩性标注</translation>
    </message>
    <message>
        <source>Mark lithology</source>
        <translation>岩性标注</translation>
    </message>
    <message>
        <source>So&amp;lid Arrow</source>
        <translation>实心箭头(&amp;L)</translation>
    </message>
    <message>
        <source>Solid arrow</source>
        <translation>实心箭头</translation>
    </message>
    <message>
        <source>A&amp;ngle</source>
        <translation>角度(&amp;N)</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>角度</translation>
    </message>
    <message>
        <source>D&amp;ip</source>
        <translation>倾角(&amp;I)</translation>
    </message>
    <message>
        <source>Dip angle</source>
        <translation>倾角</translation>
    </message>
    <message>
        <source>F&amp;itCurve</source>
        <translation>曲线拟合(&amp;I)</translation>
    </message>
    <message>
        <source>To fit the curve</source>
        <translation>拟合曲线</translation>
    </message>
    <message>
        <source>R&amp;uler</source>
        <translation>标尺(&amp;U)</translation>
    </message>
    <message>
        <source>To measure distance</source>
        <translation>测量距离</translation>
    </message>
    <message>
        <source>text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>&amp;Irregular</source>
        <translation>不规则区域(&amp;I)</translation>
    </message>
    <message>
        <source>Irregular</source>
        <translation>不规则区域</translation>
    </message>
    <message>
        <source>&amp;GridLines</source>
        <translation>网格线(&amp;G)</translation>
    </message>
    <message>
        <source>GridLines</source>
        <translation>网格线</translation>
    </message>
    <message>
        <source>black</source>
        <translation>黑色</translation>
    </message>
    <message>
        <source>white</source>
        <translation>白色</translation>
    </message>
    <message>
        <source>red</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>yellow</source>
        <translation>黄色</translation>
    </message>
    <message>
        <source>Choose color</source>
        <translation>选择颜色</translation>
    </message>
    <message>
        <source>Width </source>
        <translation>线宽 </translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Working now, Please Waiting!</source>
        <translation>正在工作，请稍候！</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Structure &amp;pick</source>
        <translation>构造拾取(&amp;P)</translation>
    </message>
    <message>
        <source>Structure pick: click three or more points along a trace and end with a right click or Enter; gives the depth, true dip and dip direction of the plane, for a vertical hole</source>
        <translation>构造拾取：沿迹线点击三个或更多点，单击右键或按回车键结束；给出面的深度、真倾角和倾向（按垂直钻孔计算）</translation>
    </message>
</context>
<context>
    <name>TopToolBar</name>
    <message>
        <source>&amp;Large</source>
        <translation>放大(&amp;L)</translation>
    </message>
    <message>
        <source>Enlarge</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>&amp;Decrease</source>
        <translation>缩小(&amp;D)</translation>
    </message>
    <message>
        <source>Decrease</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>&amp;Ver</source>
        <translation>垂直旋转(&amp;V)</translation>
    </message>
    <message>
        <source>Rotation vertical</source>
        <translation>垂直旋转</translation>
    </message>
    <message>
        <source>&amp;Hor</source>
        <translation>水平旋转(&amp;H)</translation>
    </message>
    <message>
        <source>Rotation horizontal</source>
        <translation>水平旋转</translation>
    </message>
    <message>
        <source>&amp;Left</source>
        <translation>左移(&amp;L)</translation>
    </message>
    <message>
        <source>Move left</source>
        <translation>左移</translation>
    </message>
    <message>
        <source>&amp;Right</source>
        <translation>右移(&amp;R)</translation>
    </message>
    <message>
        <source>Move Right</source>
        <translation>右移</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>上移(&amp;U)</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>下移(&amp;D)</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>下移</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>User guide</source>
        <translation>用户指南</translation>
    </message>
    <message>
        <source>The user guide is not installed. It is looked for in:
%1</source>
        <translation>未安装用户指南。查找位置：
%1</translation>
    </message>
    <message>
        <source>The user guide %1 cannot be read.</source>
        <translation>无法读取用户指南 %1。</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation>查找(&amp;F)：</translation>
    </message>
    <message>
        <source>Search the guide</source>
        <translation>在指南中搜索</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>the disk is full</source>
        <translation>磁盘已满</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; is read-only</source>
        <translation>文件夹“%1”为只读</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is read-only</source>
        <translation>文件“%1”为只读</translation>
    </message>
    <message>
        <source>the file is locked by another program</source>
        <translation>文件被其他程序锁定</translation>
    </message>
    <message>
        <source>the system gave no reason</source>
        <translation>系统未给出原因</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; does not exist</source>
        <translation>文件夹“%1”不存在</translation>
    </message>
</context>
<context>
    <name>frmMessageBox</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Requst</source>
        <translation>请求</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
</TS>
