<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>layout_ui::SheetView</name>
    <message>
        <location filename="sheet_view.cpp" line="137" />
        <source>在隔板槽内，已去掉</source>
        <translation>in a pass lane, removed</translation>
    </message>
    <message>
        <location filename="sheet_view.cpp" line="138" />
        <source>让位于中心管，已去掉</source>
        <translation>removed for the centre tube</translation>
    </message>
    <message>
        <location filename="sheet_view.cpp" line="139" />
        <source>x = %1 mm，y = %2 mm
%3</source>
        <translation>x = %1 mm, y = %2 mm
%3</translation>
    </message>
    <message>
        <location filename="sheet_view.cpp" line="141" />
        <source>管 %1
x = %2 mm，y = %3 mm
第 %4 管程</source>
        <translation>Tube %1
x = %2 mm, y = %3 mm
pass %4</translation>
    </message>
</context>
<context>
    <name>layout_ui::SheetWindow</name>
    <message>
        <location filename="sheet_window.cpp" line="99" />
        <source>Korvane 管板布置</source>
        <translation>Korvane tube-sheet layout</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="123" />
        <source>直径(&amp;D)</source>
        <translation>&amp;Diameter</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="123" />
        <source>管子外径 d(&amp;T)</source>
        <translation>&amp;Tube OD d</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="123" />
        <source>管心距 p(&amp;P)</source>
        <translation>&amp;Pitch p</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="124" />
        <source>隔板槽中心距 Sn(&amp;S)</source>
        <translation>Pass lane &amp;spacing Sn</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="124" />
        <source>边缘间隙 b(&amp;B)</source>
        <translation>Clearance &amp;b</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="124" />
        <source>中心管外径 d0(&amp;C)</source>
        <translation>&amp;Centre tube OD d0</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="134" />
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="138" />
        <source>壳体内径 Di</source>
        <translation>Shell ID Di</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="138" />
        <source>布管限定圆 DL</source>
        <translation>Layout circle DL</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="142" />
        <source>30° 正三角形</source>
        <translation>30° triangular</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="142" />
        <source>60° 转角正三角形</source>
        <translation>60° rotated triangular</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="142" />
        <source>90° 正方形</source>
        <translation>90° square</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="143" />
        <source>45° 转角正方形</source>
        <translation>45° rotated square</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="153" />
        <location filename="sheet_window.cpp" line="549" />
        <source>对中</source>
        <translation>on a tube</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="153" />
        <location filename="sheet_window.cpp" line="549" />
        <source>跨中</source>
        <translation>straddling</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="153" />
        <source>最佳</source>
        <translation>best</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="157" />
        <source>给定(&amp;G)</source>
        <translation>&amp;Given</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="161" />
        <source>布管方式(&amp;A)</source>
        <translation>P&amp;attern</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="162" />
        <source>管程数(&amp;N)</source>
        <translation>&amp;Number of passes</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="163" />
        <source>中心布置(&amp;E)</source>
        <translation>C&amp;entring</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="168" />
        <source>导出时标注管号(&amp;M)</source>
        <translation>Number the tubes in e&amp;xports</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="170" />
        <source>适合窗口(&amp;F)</source>
        <translation>&amp;Fit</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="172" />
        <source>导出图纸(&amp;X)…</source>
        <translation>E&amp;xport drawing…</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="174" />
        <source>导出管孔表(&amp;H)…</source>
        <translation>Export &amp;hole list…</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="189" />
        <source>管板图</source>
        <translation>Tube sheet</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="190" />
        <location filename="sheet_window.cpp" line="203" />
        <source>布管限定圆内管数</source>
        <translation>Tubes in the layout circle</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="191" />
        <location filename="sheet_window.cpp" line="204" />
        <source>隔板槽去掉</source>
        <translation>Removed by pass lanes</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="192" />
        <location filename="sheet_window.cpp" line="204" />
        <source>中心管去掉</source>
        <translation>Removed by the centre tube</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="193" />
        <source>总管数</source>
        <translation>Total tubes</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="194" />
        <location filename="sheet_window.cpp" line="212" />
        <source>各管程管数</source>
        <translation>Tubes per pass</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="205" />
        <source>总管数(&amp;L)</source>
        <translation>Tota&amp;l tubes</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="270" />
        <source>--%1 须为 %2 之一，而不是 '%3'</source>
        <translation>--%1 must be one of %2, not '%3'</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="297" />
        <source>korvane-sheet 不认识选项 --%1</source>
        <translation>korvane-sheet has no option --%1</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="307" />
        <source>不是数字</source>
        <translation>is not a number</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="309" />
        <source>小数不能超过 6 位</source>
        <translation>has more than 6 decimals</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="311" />
        <source>不能大于 100000 mm</source>
        <translation>is larger than 100000 mm</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="313" />
        <source>须大于 0</source>
        <translation>must be more than 0</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="315" />
        <source>不能为负</source>
        <translation>must not be negative</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="317" />
        <source>小于管子外径：管子会重叠</source>
        <translation>is smaller than the tube: the tubes would overlap</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="319" />
        <source>竖直隔板槽须与水平隔板槽一同给出</source>
        <translation>a vertical spacing needs a horizontal one</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="321" />
        <source>布管限定圆半径超过 100 万个管心距，行数太多</source>
        <translation>the layout circle is more than a million pitches in radius: too many rows</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="340" />
        <source>请输入数值</source>
        <translation>enter a value</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="361" />
        <source>须为一个数值，或“水平,竖直”两个</source>
        <translation>one value, or two as "horizontal,vertical"</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="443" />
        <source>输入有误：图为上次有效的布置</source>
        <translation>An input is invalid: the drawing is the last valid layout</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="460" />
        <source>计算中…</source>
        <translation>Counting…</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="478" />
        <source>无法计算：%1</source>
        <translation>Cannot count: %1</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="498" />
        <source>布管限定圆内 %1 管，超过 %2 管，不再绘图</source>
        <translation>%1 tubes in the layout circle, more than %2: not drawn</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="537" />
        <source>单管程无隔板槽</source>
        <translation>no lanes with one pass</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="538" />
        <location filename="sheet_window.cpp" line="542" />
        <source>默认 %1 mm</source>
        <translation>default %1 mm</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="544" />
        <source>给定布管限定圆时不用</source>
        <translation>not used with the layout circle given</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="547" />
        <source>布管限定圆 DL %1 mm，%2</source>
        <translation>Layout circle DL %1 mm, %2</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="551" />
        <source>（另一种布置 %1 管）</source>
        <translation> (the other arrangement: %1 tubes)</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="558" />
        <source>没有可导出的图纸</source>
        <translation>There is no drawing to export</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="562" />
        <source>文件名须以 %1 结尾</source>
        <translation>The file name must end in %1</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="578" />
        <source>没有可导出的管孔表</source>
        <translation>There is no hole list to export</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="595" />
        <source>导出图纸</source>
        <translation>Export drawing</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="596" />
        <source>SVG 图 (*.svg);;PNG 图 (*.png);;PDF 文件 (*.pdf);;DXF 图 (*.dxf)</source>
        <translation>SVG picture (*.svg);;PNG picture (*.png);;PDF document (*.pdf);;DXF drawing (*.dxf)</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="600" />
        <location filename="sheet_window.cpp" line="610" />
        <source>已写入 %1</source>
        <translation>Written to %1</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="606" />
        <source>导出管孔表</source>
        <translation>Export hole list</translation>
    </message>
    <message>
        <location filename="sheet_window.cpp" line="606" />
        <source>CSV 表 (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
</context>
</TS>