<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Base</name>
    <message>
        <source>Stop button</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Yes button</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No button</source>
        <translation>No</translation>
    </message>
    <message>
        <source>OK button</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
