<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>VersionCheck</name>
    <message>
        <source>Version Check</source>
        <translation>Version Check</translation>
    </message>
    <message>
        <source>Version Check offer panel text</source>
        <translation>Should %@ look for a newer version on the web each time it starts?  You can change your mind at any time with the Automatic Version Checking command of %@.</translation>
    </message>
    <message>
        <source>Checking for a new version...</source>
        <translation>Checking for a new version...</translation>
    </message>
    <message>
        <source>Version Check new version available</source>
        <translation>A new version of %@ (%@) is available; you are running version %@.  Would you like to open the download page now?</translation>
    </message>
    <message>
        <source>Version Check up to date</source>
        <translation>%@ %@ is the latest version.</translation>
    </message>
    <message>
        <source>Version Check download failed error</source>
        <translation>The download page could not be opened.  Please try again later.</translation>
    </message>
    <message>
        <source>Version Check info unavailable error (sending email)</source>
        <translation>No version information was found for this application.  A new e-mail message to the maker will now be prepared so that you can report the problem.</translation>
    </message>
    <message>
        <source>Version Check info unavailable error</source>
        <translation>No version information was found for this application.  Please tell the maker.</translation>
    </message>
    <message>
        <source>Version Check network unavailable error (short version)</source>
        <translation>The version information could not be downloaded.  Please check your network connection and try again.</translation>
    </message>
    <message>
        <source>Version Check network unavailable error (long version)</source>
        <translation>The version information could not be downloaded, so it is not known whether a newer version is available.  Please check your network connection, or turn automatic version checking off with the Automatic Version Checking command.</translation>
    </message>
</context>
</TS>
