<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>About panel body text</source>
        <translation>Gelcoat turns simple stencils into glossy, tinted gel images with a soft drop shadow, in the style of the classic Aqua buttons.

The round two-way sliders of the document window are KPCircularSlider controls, free for use in other programs.</translation>
    </message>
</context>
</TS>
