<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>layout_ui::LegendView</name>
    <message>
        <location filename="sheet_view.cpp" line="309"/>
        <source>图例</source>
        <translation>Legend</translation>
    </message>
</context>
<context>
    <name>layout_ui::SheetView</name>
    <message>
        <location filename="sheet_view.cpp" line="37"/>
        <source>去掉此管(&amp;R)</source>
        <translation>&amp;Remove this tube</translation>
    </message>
    <message>
        <location filename="sheet_view.cpp" line="39"/>
        <source>设为假管(&amp;D)</source>
        <translation>Make it a &amp;dummy</translation>
    </message>
    <message>
        <location filename="sheet_view.cpp" line="40"/>
        <source>恢复此管(&amp;E)</source>
        <translation>R&amp;estore this tube</translation>
    </message>
</context>
<context>
    <name>layout_ui::SheetWindow</name>
    <message>
        <location filename="sheet_window.cpp" line="40"/>
        <location filename="sheet_design.cpp" line="170"/>
        <location filename="sheet_design.cpp" line="298"/>
        <source>Korvane 管板布置</source>
        <translation>Korvane tube-sheet layout</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="73"/>
        <source>导出时标注管号(&amp;M)</source>
        <translation>Number the tubes in e&amp;xports</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="89"/>
        <source>适合窗口(&amp;F)</source>
        <translation>&amp;Fit</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="76"/>
        <source>导出图纸(&amp;X)…</source>
        <translation>E&amp;xport drawing…</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="77"/>
        <source>导出管孔表(&amp;H)…</source>
        <translation>Export &amp;hole list…</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="94"/>
        <source>管板图</source>
        <translation>Tube sheet</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="29"/>
        <source>没有那个文件或目录</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="31"/>
        <source>权限不够</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="33"/>
        <source>不允许的操作</source>
        <translation>Operation not permitted</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="35"/>
        <source>设备上没有空间</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="37"/>
        <source>超出磁盘配额</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="39"/>
        <source>文件过大</source>
        <translation>File too large</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="41"/>
        <source>只读文件系统</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="43"/>
        <source>是一个目录</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="45"/>
        <source>路径中有一部分不是目录</source>
        <translation>Not a directory</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="47"/>
        <source>文件名过长</source>
        <translation>File name too long</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="49"/>
        <source>输入/输出错误</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="51"/>
        <source>符号链接层数过多</source>
        <translation>Too many levels of symbolic links</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="54"/>
        <source>打开的文件过多</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="57"/>
        <source>文件正忙</source>
        <translation>The file is busy</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="61"/>
        <source>系统错误 %1</source>
        <translation>system error %1</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="71"/>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="72"/>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="75"/>
        <source>内存不足</source>
        <translation>Not enough memory</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="76"/>
        <source>无法绘制图纸：绘图模块无法加载或内存不足</source>
        <translation>Cannot draw: the painting module cannot be loaded, or memory ran out</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="230"/>
        <source>无法计算：%1</source>
        <translation>Cannot count: %1</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="82"/>
        <source>没有可导出的图纸</source>
        <translation>There is no drawing to export</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="86"/>
        <source>文件名须以 .svg、.png、.pdf 或 .dxf 结尾</source>
        <translation>The file name must end in .svg, .png, .pdf or .dxf</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="141"/>
        <source>%1 已存在。要替换它吗？</source>
        <translation>%1 already exists. Replace it?</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="150"/>
        <source>SVG 图 (*.svg)</source>
        <translation>SVG drawing (*.svg)</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="150"/>
        <source>PNG 图 (*.png)</source>
        <translation>PNG picture (*.png)</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="150"/>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF file (*.pdf)</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="151"/>
        <source>DXF 图 (*.dxf)</source>
        <translation>DXF drawing (*.dxf)</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="103"/>
        <source>没有可导出的管孔表</source>
        <translation>There is no hole list to export</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="149"/>
        <source>导出图纸</source>
        <translation>Export drawing</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="155"/>
        <location filename="sheet_exports.cpp" line="164"/>
        <source>已写入 %1</source>
        <translation>Written to %1</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="160"/>
        <source>导出管孔表</source>
        <translation>Export hole list</translation>
    </message>
    <message>
        <location filename="sheet_exports.cpp" line="160"/>
        <source>CSV 表 (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="64"/>
        <source>无法打开设计 %1：%2</source>
        <translation>Cannot open the design %1: %2</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="73"/>
        <source>无标题</source>
        <translation>No title</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="74"/>
        <source>设计标题(&amp;J)</source>
        <translation>Design title (&amp;J)</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="79"/>
        <source>打开设计…</source>
        <translation>Open design…</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="80"/>
        <location filename="sheet_design.cpp" line="335"/>
        <source>打开设计</source>
        <translation>Open design</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="82"/>
        <source>打开设计 (%1)；箭头列出最近的设计</source>
        <translation>Open a design (%1); the arrow lists the recent ones</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="85"/>
        <source>最近的设计</source>
        <translation>Recent designs</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="88"/>
        <location filename="sheet_design.cpp" line="325"/>
        <source>保存设计</source>
        <translation>Save design</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="89"/>
        <source>另存设计…</source>
        <translation>Save design as…</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="90"/>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="91"/>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="124"/>
        <source>保存设计 (%1)</source>
        <translation>Save the design (%1)</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="170"/>
        <source>%1 — Korvane 管板布置</source>
        <translation>%1 — Korvane tube-sheet layout</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="298"/>
        <source>设计有未保存的更改。</source>
        <translation>The design has changes that are not saved.</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="301"/>
        <source>要先保存吗？不保存，这些更改就会丢失。</source>
        <translation>Save them first? If not, these changes are lost.</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="319"/>
        <location filename="sheet_design.cpp" line="329"/>
        <source>已保存 %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="325"/>
        <source>Korvane 设计 (*.json)</source>
        <translation>Korvane designs (*.json)</translation>
    </message>
    <message>
        <location filename="sheet_design.cpp" line="337"/>
        <source>Korvane 设计 (*.json);;所有文件 (*)</source>
        <translation>Korvane designs (*.json);;All files (*)</translation>
    </message>
</context>
<context>
    <name>report</name>
    <message>
        <location filename="../report/form.cpp" line="83"/>
        <source>给定(&amp;G)</source>
        <translation>&amp;Given</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="84"/>
        <source>壳体内径 Di</source>
        <translation>Shell ID Di</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="84"/>
        <source>布管限定圆 DL</source>
        <translation>Layout circle DL</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="87"/>
        <source>直径(&amp;D)</source>
        <translation>&amp;Diameter</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="89"/>
        <source>管子外径 d(&amp;T)</source>
        <translation>&amp;Tube OD d</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="91"/>
        <source>管心距 p(&amp;P)</source>
        <translation>&amp;Pitch p</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="92"/>
        <source>布管方式(&amp;A)</source>
        <translation>P&amp;attern</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="93"/>
        <source>30° 正三角形</source>
        <translation>30° triangular</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="93"/>
        <source>60° 转角正三角形</source>
        <translation>60° rotated triangular</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="94"/>
        <source>90° 正方形</source>
        <translation>90° square</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="94"/>
        <source>45° 转角正方形</source>
        <translation>45° rotated square</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="97"/>
        <source>管程数(&amp;N)</source>
        <translation>&amp;Number of passes</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="101"/>
        <source>管程布置(&amp;O)</source>
        <translation>Pass arrangement (&amp;O)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="102"/>
        <source>常规</source>
        <translation>Standard</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="102"/>
        <source>象限式</source>
        <translation>Quadrant</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="103"/>
        <source>混合式</source>
        <translation>Mixed</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="103"/>
        <source>带状式</source>
        <translation>Ribbon</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="106"/>
        <source>常规：4 管程象限式，6、8 管程混合式；带状式：隔板槽全部水平，相邻管程温度相近</source>
        <translation>Standard: quadrants for 4 passes, mixed lanes for 6 and 8; ribbon: every lane horizontal, so neighbouring passes are at close temperatures</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="110"/>
        <source>中心布置(&amp;E)</source>
        <translation>C&amp;entring</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="111"/>
        <source>对中</source>
        <translation>on a tube</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="111"/>
        <source>跨中</source>
        <translation>straddling</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="112"/>
        <source>最佳</source>
        <translation>best</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="114"/>
        <source>隔板槽(&amp;W)</source>
        <translation>Pass lanes (&amp;W)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="115"/>
        <source>去管</source>
        <translation>remove tubes</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="115"/>
        <source>移位</source>
        <translation>shift rows</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="117"/>
        <source>去管：隔板槽从连续的排列中去掉管子；移位：排列沿槽分开，槽两侧管排的中心距为 Sn（GB/T 151）</source>
        <translation>remove tubes: the lanes take tubes out of one pattern; shift rows: the pattern is pulled apart so the rows across a lane are Sn apart (GB/T 151)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="119"/>
        <source>隔板槽中心距 Sn(&amp;S)</source>
        <translation>Pass lane &amp;spacing Sn</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="123"/>
        <location filename="../report/summary.cpp" line="119"/>
        <location filename="../report/summary.cpp" line="127"/>
        <source>默认 %1 mm</source>
        <translation>default %1 mm</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="124"/>
        <source>边缘间隙 b(&amp;B)</source>
        <translation>Clearance &amp;b</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="128"/>
        <source>中心管外径 d0(&amp;C)</source>
        <translation>&amp;Centre tube OD d0</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="130"/>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="132"/>
        <source>换热器型式(&amp;Y)</source>
        <translation>Head t&amp;ype</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="133"/>
        <source>固定管板式</source>
        <translation>fixed tube sheets</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="133"/>
        <source>浮头式</source>
        <translation>floating head</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="134"/>
        <source>拉出式浮头</source>
        <translation>pull-through floating head</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="135"/>
        <source>填料函式</source>
        <translation>outside-packed head</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="138"/>
        <source>按换热器型式由壳体内径定布管限定圆；给定边缘间隙时按间隙</source>
        <translation>The head type sets the layout circle from the shell diameter; a clearance given sets it instead</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="142"/>
        <source>管束(&amp;U)</source>
        <translation>B&amp;undle</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="143"/>
        <source>固定管板</source>
        <translation>fixed tube sheets</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="143"/>
        <source>U形管</source>
        <translation>U-tubes</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="145"/>
        <source>弯管半径 R(&amp;R)</source>
        <translation>Bend &amp;radius R</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="149"/>
        <source>拉杆(&amp;Z)</source>
        <translation>Tie rods (&amp;Z)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="150"/>
        <source>无（根数、gb151 或 tema）</source>
        <translation>none (a number, gb151 or tema)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="151"/>
        <source>拉杆根数，或 gb151、tema：按标准的表取根数和直径</source>
        <translation>The number of tie rods, or gb151 or tema: the number and diameter from the standard&apos;s table</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="152"/>
        <source>折流板缺口 %(&amp;K)</source>
        <translation>Baffle cut % (&amp;K)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="154"/>
        <source>无（如 25，或 20,25,30）</source>
        <translation>none (25, or 20,25,30)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="155"/>
        <source>防冲板 Dn,A,h,t(&amp;I)</source>
        <translation>&amp;Impingement plate Dn,A,h,t</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="157"/>
        <source>无（接管内径 Dn，板宽 A，高 h，厚 t）</source>
        <translation>None (nozzle bore Dn, plate side A, height h, thickness t)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="159"/>
        <source>顶部进口接管内径 Dn；防冲板边长 A 默认 Dn + 50，板顶距壳体顶部 h 默认 Dn/4，板厚 t 默认 6：去掉板下的管子</source>
        <translation>Bore Dn of the inlet nozzle on top; plate side A (default Dn + 50), its top h below the shell&apos;s top (default Dn/4), thickness t (default 6): the tubes under it are taken out</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="162"/>
        <source>按 GB/T 151 取值(&amp;Q)</source>
        <translation>GB/T 151 values (&amp;Q)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="164"/>
        <source>未填的管心距、Sn 和拉杆按 GB/T 151 取值，隔板槽移位</source>
        <translation>The pitch, Sn and tie rods not given come from GB/T 151, with shifted lanes</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="176"/>
        <source>不能为负（0 为无中心管）</source>
        <translation>must not be negative (0 is no centre tube)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="177"/>
        <location filename="../report/form.cpp" line="179"/>
        <source>GB/T 151 没有此管径的 Sn，请输入数值</source>
        <translation>GB/T 151 gives no Sn for this tube: enter a value</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="180"/>
        <source>U形管束不能有中心管</source>
        <translation>a U-tube bundle has no centre tube</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="181"/>
        <source>U形管束只能为 2 或 4 管程</source>
        <translation>a U-tube bundle has 2 or 4 passes</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="182"/>
        <source>按 GB/T 151 取值须给定壳体内径</source>
        <translation>GB/T 151&apos;s values need the shell diameter</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="183"/>
        <source>折流板缺口须给定壳体内径</source>
        <translation>a baffle cut needs the shell diameter</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="184"/>
        <source>拉杆须给定壳体内径</source>
        <translation>tie rods need the shell diameter</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="185"/>
        <source>拉杆不能多于 999999 根</source>
        <translation>at most 999999 tie rods</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="187"/>
        <source>边缘间隙过大：布管限定圆 DL 不大于 0</source>
        <translation>too large: it leaves no layout circle (DL is 0 or less)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="188"/>
        <source>U形管束即 U形管式，不能用其他型式</source>
        <translation>a U-tube bundle is the U-tube head: not this type</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="190"/>
        <source>浮头式只到 DN 2600：更大的壳体请给定边缘间隙</source>
        <translation>floating heads go up to DN 2600: give a clearance for a larger shell</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="192"/>
        <source>壳体内径过小：扣除边缘间隙后布管限定圆 DL 不大于 0</source>
        <translation>too small: after the clearance there is no layout circle (DL is 0 or less)</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="194"/>
        <source>此管程数没有这种布置：象限式为 4 管程，混合式为 6、8 管程，带状式为 4、6、8 管程</source>
        <translation>Not for this pass count: quadrant is for 4 passes, mixed for 6 and 8, ribbon for 4, 6 and 8</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="197"/>
        <source>带状式没有竖直隔板槽，不用第二个值</source>
        <translation>A ribbon arrangement has no vertical lane: no second value</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="199"/>
        <source>须为 Dn，或 Dn,A、Dn,A,h、Dn,A,h,t</source>
        <translation>Must be Dn, or Dn,A, Dn,A,h or Dn,A,h,t</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="200"/>
        <source>防冲板须给定壳体内径</source>
        <translation>An impingement plate needs the shell diameter</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="201"/>
        <source>接管内径须大于 0 且小于壳体内径</source>
        <translation>The nozzle bore must be above 0 and below the shell diameter</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="202"/>
        <source>防冲板不能窄于接管内径</source>
        <translation>The plate cannot be narrower than the nozzle bore</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="203"/>
        <source>板顶距壳体顶部的高度 h 须大于 0</source>
        <translation>The height h of the plate below the shell&apos;s top must be above 0</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="204"/>
        <source>防冲板厚度 t 不能为负</source>
        <translation>The plate thickness t cannot be negative</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="206"/>
        <source>防冲板伸过壳体中心线：h + t 大于 Di/2</source>
        <translation>The plate reaches past the shell&apos;s centre line: h + t is more than Di/2</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="257"/>
        <source>--%1 须为 %2 之一，而不是 &apos;%3&apos;</source>
        <translation>--%1 must be one of %2, not &apos;%3&apos;</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="386"/>
        <source>未知选项 --%1</source>
        <translation>unknown option --%1</translation>
    </message>
    <message>
        <location filename="../report/form.cpp" line="409"/>
        <source>--%1：%2</source>
        <translation>--%1: %2</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="17"/>
        <source>不是数字</source>
        <translation>is not a number</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="18"/>
        <source>小数不能超过 6 位</source>
        <translation>has more than 6 decimals</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="19"/>
        <source>不能大于 100000 mm</source>
        <translation>is larger than 100000 mm</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="20"/>
        <source>须大于 0</source>
        <translation>must be more than 0</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="21"/>
        <source>不能为负</source>
        <translation>must not be negative</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="22"/>
        <source>小于管子外径：管子会重叠</source>
        <translation>is smaller than the tube: the tubes would overlap</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="23"/>
        <source>须为 1、2、4、6 或 8</source>
        <translation>must be 1, 2, 4, 6 or 8</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="24"/>
        <source>竖直隔板槽须与水平隔板槽一同给出</source>
        <translation>a vertical spacing needs a horizontal one</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="25"/>
        <source>给定布管限定圆时不用边缘间隙</source>
        <translation>not used with the layout circle given</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="26"/>
        <source>布管限定圆半径超过 100 万个管心距，行数太多</source>
        <translation>the layout circle is more than a million pitches in radius: too many rows</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="27"/>
        <location filename="../report/reasons.cpp" line="28"/>
        <source>请输入数值</source>
        <translation>enter a value</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="29"/>
        <source>移位时 Sn 不能小于管子外径：槽两侧的管子会重叠</source>
        <translation>shifted lanes need Sn of at least the tube: the tubes across the lane would overlap</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="30"/>
        <source>GB/T 151 没有此管径的管心距，请输入数值</source>
        <translation>GB/T 151 gives no pitch for this tube: enter a value</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="31"/>
        <source>移位且有竖直隔板槽时只能对中</source>
        <translation>shifted lanes with a vertical lane take on-tube only</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="32"/>
        <source>须给定壳体内径</source>
        <translation>needs the shell diameter</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="33"/>
        <source>超出拉杆表的范围，请输入根数</source>
        <translation>outside the tie-rod table: enter a number</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="34"/>
        <source>拉杆过多：管束边缘的管子不够</source>
        <translation>too many tie rods for the tubes at the bundle&apos;s edge</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="35"/>
        <source>须为整数根数、gb151 或 tema</source>
        <translation>a whole number, gb151 or tema</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="36"/>
        <source>弯管半径只用于 U形管束</source>
        <translation>a bend radius is for U-tubes only</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="37"/>
        <source>须在 15% 到 45% 之间</source>
        <translation>must be 15 % to 45 %</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="38"/>
        <source>切线在所有管子之外：缺口内没有管子</source>
        <translation>the cut line lies beyond every tube: the window holds none</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="39"/>
        <source>最多比较 8 个缺口</source>
        <translation>at most 8 cuts are compared</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="40"/>
        <source>U形管束的拉杆须成对：根数须为偶数</source>
        <translation>U-tubes take tie rods in pairs: the number must be even</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="41"/>
        <source>不是可选的值</source>
        <translation>is not one of the choices</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="42"/>
        <source>壳体内径与布管限定圆只能给定一个</source>
        <translation>give the shell or the layout circle, not both</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="43"/>
        <source>重复给出</source>
        <translation>given twice</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="44"/>
        <source>未知选项</source>
        <translation>unknown option</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="45"/>
        <source>须为一个数值，或“水平,竖直”两个</source>
        <translation>one value, or two as &quot;horizontal,vertical&quot;</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="46"/>
        <source>单管程没有隔板槽，不用 Sn</source>
        <translation>one pass has no lanes: Sn is not used</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="47"/>
        <source>此管程数没有竖直隔板槽，不用第二个值</source>
        <translation>these passes have no vertical lane: the second value is not used</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="48"/>
        <source>布管限定圆 DL 不大于 0</source>
        <translation>leaves no layout circle (DL is 0 or less)</translation>
    </message>
    <message>
        <location filename="../report/reasons.cpp" line="60"/>
        <source>输入有误</source>
        <translation>invalid input</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="78"/>
        <source>布管限定圆 DL %1 mm，%2</source>
        <translation>Layout circle DL %1 mm, %2</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="82"/>
        <source>（另一种布置 %1 管）</source>
        <translation> (the other arrangement: %1 tubes)</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="86"/>
        <source>，拉杆 %1 根，直径 %2 mm</source>
        <translation>, %1 tie rods of %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="88"/>
        <source>，拉杆 %1 根</source>
        <translation>, %1 tie rods</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="91"/>
        <source>，U形管 %1 根</source>
        <translation>, %1 U-tubes</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="93"/>
        <source>，按 GB/T 151 取值</source>
        <translation>, values from GB/T 151</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="98"/>
        <source>，%1</source>
        <translation>, %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="114"/>
        <source>GB/T 151 %1</source>
        <translation>GB/T 151 %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="117"/>
        <source>单管程无隔板槽</source>
        <translation>no lanes with one pass</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="124"/>
        <source>GB/T 151 %1 mm</source>
        <translation>GB/T 151 %1 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="128"/>
        <source>给定布管限定圆时不用</source>
        <translation>not used with the layout circle given</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="142"/>
        <source>折流板缺口 %1%：缺口内管数 %2，切边管 %3；错流管数比 Fc %4%5；错流管排数 Nc %6%7；缺口内有效管排数 Ncw %8%9</source>
        <translation>Baffle cut %1%: %2 tubes in the window, %3 cut by the edge; crossflow share Fc %4%5; crossflow rows Nc %6%7; effective window rows Ncw %8%9</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="174"/>
        <source>（公式 %1）</source>
        <translation> (formula %1)</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="177"/>
        <source>折流板缺口 %1%：切线 y = ±%2 mm；缺口内管数 %3 管，切边管 %4 管</source>
        <translation>Baffle cut %1%: cut line y = ±%2 mm; %3 tubes in the window, %4 cut by the edge</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="181"/>
        <source>  错流管数比 Fc %1%2；错流管排数 Nc %3%4；缺口内有效管排数 Ncw %5%6</source>
        <translation>  crossflow share Fc %1%2; crossflow rows Nc %3%4; effective window rows Ncw %5%6</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="194"/>
        <source>填料函式：DL = Di − 37.5 = %1 − 37.5 = %2 mm</source>
        <translation>Outside-packed head: DL = Di - 37.5 = %1 - 37.5 = %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="196"/>
        <source>拉出式浮头：DL = (Di − 85.6625) / 1.009375 = (%1 − 85.6625) / 1.009375，舍至 0.001 mm = %2 mm</source>
        <translation>Pull-through floating head: DL = (Di - 85.6625) / 1.009375 = (%1 - 85.6625) / 1.009375, rounded down to 0.001 mm = %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="201"/>
        <source>浮头式：DL = Di − 2(b1 + b2 + b) = %1 − 2(%2 + %3 + %4) = %5 mm</source>
        <translation>Floating head: DL = Di - 2(b1 + b2 + b) = %1 - 2(%2 + %3 + %4) = %5 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="227"/>
        <source>最佳：%1（%2 %3 管）</source>
        <translation>best: %1 (%2 %3 tubes)</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="235"/>
        <source>管程数 %1</source>
        <translation>Passes %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="96"/>
        <location filename="../report/summary.cpp" line="237"/>
        <source>，带状式</source>
        <translation>, ribbon</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="239"/>
        <source>，无隔板槽</source>
        <translation>, no pass lanes</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="242"/>
        <source>，隔板槽 水平 y = %1 mm，Sn = %2 mm</source>
        <translation>, pass lanes horizontal y = %1 mm, Sn = %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="243"/>
        <source>，隔板槽 垂直 x = %1 mm，Sn = %2 mm</source>
        <translation>, pass lanes vertical x = %1 mm, Sn = %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="244"/>
        <source>；水平 y = %1 mm，Sn = %2 mm</source>
        <translation>; horizontal y = %1 mm, Sn = %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="245"/>
        <source>；垂直 x = %1 mm，Sn = %2 mm</source>
        <translation>; vertical x = %1 mm, Sn = %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="252"/>
        <source>隔板槽方式 移位：Sn 为槽两侧管排的中心距</source>
        <translation>Pass lanes shift the rows: Sn is the distance between the rows across a lane</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="261"/>
        <source>防冲板：接管内径 Dn %1 mm，板宽 A %2 mm，板顶距壳体顶部 h %3 mm，板厚 t %4 mm</source>
        <translation>Impingement plate: nozzle bore Dn %1 mm, plate side A %2 mm, top h %3 mm below the shell&apos;s top, thickness t %4 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="266"/>
        <source>  壳程进口面积 π·Dn·(h1 + h2)/2 = %1 mm²（h1 %2 mm，h2 %3 mm），接管面积 %4 mm²</source>
        <translation>  Shell entrance area π·Dn·(h1 + h2)/2 = %1 mm² (h1 %2 mm, h2 %3 mm), nozzle area %4 mm²</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="277"/>
        <source>设计去掉 %1 管，假管 %2 根</source>
        <translation>Removed by design %1, dummy tubes %2</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="285"/>
        <source>不是此排列的管位</source>
        <translation>not a site of this pattern</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="288"/>
        <source>在布管限定圆外</source>
        <translation>outside the layout circle</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="291"/>
        <source>在隔板槽内</source>
        <translation>in a pass lane</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="294"/>
        <source>让位于中心管</source>
        <translation>taken by the centre tube</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="297"/>
        <source>在防冲板下</source>
        <translation>under the impingement plate</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="300"/>
        <source>管位 %1 的编辑未用：%2</source>
        <translation>The edit of site %1 is not applied: %2</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="320"/>
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="340"/>
        <source>按 GB/T 151 取值：%1</source>
        <translation>From GB/T 151: %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="352"/>
        <source>布管限定圆内管数 %1 管</source>
        <translation>Tubes in the layout circle %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="353"/>
        <source>隔板槽去掉 %1 管</source>
        <translation>Removed by pass lanes %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="354"/>
        <source>中心管去掉 %1 管</source>
        <translation>Removed by the centre tube %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="356"/>
        <location filename="../report/summary.cpp" line="419"/>
        <source>防冲板去掉 %1 管</source>
        <translation>Removed by the impingement plate %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="361"/>
        <source>拉杆 %1 根，直径 %2 mm</source>
        <translation>%1 tie rods of %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="365"/>
        <source>总管数 %1 管</source>
        <translation>Total tubes %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="369"/>
        <source>各管程管数 %1 管，最大偏差 %2%</source>
        <translation>Tubes per pass %1, largest deviation %2%</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="371"/>
        <source>各管程管数 %1 管</source>
        <translation>Tubes per pass %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="374"/>
        <source>U形管 %1 根</source>
        <translation>U-tubes %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="392"/>
        <source>布管限定圆内管数</source>
        <translation>Tubes in the layout circle</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="393"/>
        <source>隔板槽去掉</source>
        <translation>Removed by pass lanes</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="394"/>
        <source>中心管去掉</source>
        <translation>Removed by the centre tube</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="395"/>
        <source>防冲板去掉</source>
        <translation>Removed by the impingement plate</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="398"/>
        <source>总管数(&amp;L)</source>
        <translation>Tota&amp;l tubes</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="399"/>
        <source>各管程管数</source>
        <translation>Tubes per pass</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="411"/>
        <source>第 %1 管程 %2 管</source>
        <translation>pass %1: %2 tubes</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="364"/>
        <location filename="../report/summary.cpp" line="416"/>
        <source>拉杆 %1 根</source>
        <translation>%1 tie rods</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="72"/>
        <source>，%1 = %2</source>
        <translation>, %1 = %2</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="210"/>
        <source>壳体内径 Di %1，布管限定圆 DL %2 mm</source>
        <translation>Shell ID Di %1, layout circle DL %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="216"/>
        <source>壳体内径 Di %1，边缘间隙 b %2，布管限定圆 DL %3 mm</source>
        <translation>Shell ID Di %1, clearance b %2, layout circle DL %3 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="221"/>
        <source>布管限定圆 DL %1</source>
        <translation>Layout circle DL %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="223"/>
        <source>管子外径 d %1，管心距 p %2，布管方式 %3，</source>
        <translation>Tube OD d %1, pitch p %2, %3 pattern, </translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="334"/>
        <source>管束 U形管，最小弯管半径 R %1</source>
        <translation>U-tube bundle, smallest bend radius R %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="343"/>
        <source>中心管外径 d0 %1，去管圆直径 %2 mm</source>
        <translation>Centre tube OD d0 %1, circle cleared of tubes %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="424"/>
        <source>假管 %1 根</source>
        <translation>Dummy tubes %1</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="427"/>
        <source>折流板缺口 %1%，切边管 %2</source>
        <translation>baffle cut %1%, %2 cut by the edge</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="431"/>
        <source>U形管 %1 根，R = %2 mm</source>
        <translation>%1 U-tubes, R = %2 mm</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="451"/>
        <source>%1，最大偏差 %2%</source>
        <translation>%1, largest deviation %2%</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="457"/>
        <source>括号内灰色数值为均布公式的估算</source>
        <translation>The grey figures in brackets are the uniform-density formulas&apos; estimates</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="460"/>
        <source>布管限定圆内 %1 管，超过 %2 管，不再绘图</source>
        <translation>%1 tubes in the layout circle, more than %2: not drawn</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="471"/>
        <source>x = %1 mm，y = %2 mm
%3</source>
        <translation>x = %1 mm, y = %2 mm
%3</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="473"/>
        <source>在隔板槽内，已去掉</source>
        <translation>in a pass lane, removed</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="475"/>
        <source>在防冲板下，已去掉</source>
        <translation>Under the impingement plate: taken out</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="396"/>
        <location filename="../report/summary.cpp" line="476"/>
        <source>设计去掉</source>
        <translation>Removed by design</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="397"/>
        <location filename="../report/summary.cpp" line="478"/>
        <source>假管</source>
        <translation>Dummy tube</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="479"/>
        <source>让位于中心管，已去掉</source>
        <translation>removed for the centre tube</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="480"/>
        <source>管 %1：拉杆
x = %2 mm，y = %3 mm
第 %4 管程</source>
        <translation>Tube %1: tie rod
x = %2 mm, y = %3 mm
pass %4</translation>
    </message>
    <message>
        <location filename="../report/summary.cpp" line="481"/>
        <source>管 %1
x = %2 mm，y = %3 mm
第 %4 管程</source>
        <translation>Tube %1
x = %2 mm, y = %3 mm
pass %4</translation>
    </message>
    <message>
        <location filename="../report/summary.h" line="30"/>
        <source>折流板缺口</source>
        <translation>Baffle cuts</translation>
    </message>
    <message>
        <location filename="../report/summary.h" line="31"/>
        <source>输入有误：为上次有效布置的数值</source>
        <translation>An input is invalid: these are the last valid layout&apos;s counts</translation>
    </message>
    <message>
        <location filename="../report/summary.h" line="32"/>
        <source>输入有误：图为上次有效的布置</source>
        <translation>An input is invalid: the drawing is the last valid layout</translation>
    </message>
    <message>
        <location filename="../report/summary.h" line="33"/>
        <source>计算中…</source>
        <translation>Counting…</translation>
    </message>
    <message>
        <location filename="../report/json.cpp" line="19"/>
        <source>管心距 p</source>
        <translation>pitch p</translation>
    </message>
    <message>
        <location filename="../report/json.cpp" line="21"/>
        <source>隔板槽中心距 Sn</source>
        <translation>pass lane spacing Sn</translation>
    </message>
    <message>
        <location filename="../report/json.cpp" line="22"/>
        <source>边缘间隙 b</source>
        <translation>clearance b</translation>
    </message>
    <message>
        <location filename="../report/json.cpp" line="23"/>
        <source>隔板槽移位</source>
        <translation>shifted lanes</translation>
    </message>
    <message>
        <location filename="../report/json.cpp" line="24"/>
        <source>拉杆</source>
        <translation>tie rods</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="20"/>
        <source>大于 16 MB</source>
        <translation>larger than 16 MB</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="25"/>
        <source>不是 JSON 文件</source>
        <translation>not JSON</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="33"/>
        <source>不是设计文件：没有 JSON 对象</source>
        <translation>not a design: no JSON object</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="37"/>
        <source>不是设计文件：格式不是 %1</source>
        <translation>not a design: its format is not %1</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="41"/>
        <source>不是设计文件：没有版本号 1 或更高</source>
        <translation>not a design: no version 1 or later</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="45"/>
        <source>版本 %1 的设计文件，由较新的 Korvane 保存：本程序读版本 1</source>
        <translation>a design of version %1, made by a later Korvane: this one reads version 1</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="57"/>
        <source>输入不是选项名与文本的对象</source>
        <translation>its inputs are not an object of option names and texts</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="61"/>
        <source>输入 %1 不是文本</source>
        <translation>its input %1 is not a text</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="73"/>
        <source>编辑不是列表</source>
        <translation>its edits are not a list</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="78"/>
        <source>有一项编辑缺少管位或动作</source>
        <translation>an edit without a site and an action</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="84"/>
        <source>管位“%1”不是 r3c-5 的形式</source>
        <translation>the site &quot;%1&quot; is not of the form r3c-5</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="87"/>
        <source>动作“%1”既不是 remove 也不是 dummy</source>
        <translation>the action &quot;%1&quot; is neither remove nor dummy</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="113"/>
        <source>标题不是文本</source>
        <translation>its title is not a text</translation>
    </message>
    <message>
        <location filename="../report/design.cpp" line="132"/>
        <source>无法读取</source>
        <translation>cannot be read</translation>
    </message>
</context>
</TS>
