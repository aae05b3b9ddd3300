<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" tiledversion="1.8.2" name="tiles-tower" tilewidth="16" tileheight="16" tilecount="8" columns="1">
    <image source="../tiles-tower.bmp" trans="ff80ff" width="16" height="128"/>
    <tile id="0">
        <properties>
            <property name="solid" type="bool" value="false"/>
        </properties>
    </tile>
    <tile id="1">
        <properties>
            <property name="solid" type="bool" value="true"/>
        </properties>
    </tile>
    <tile id="2">
        <properties>
            <property name="solid" type="bool" value="true"/>
        </properties>
    </tile>
    <tile id="3">
        <properties>
            <property name="solid" type="bool" value="true"/>
        </properties>
    </tile>
    <tile id="4">
        <properties>
            <property name="solid" type="bool" value="false"/>
        </properties>
    </tile>
    <tile id="5">
        <properties>
            <property name="solid" type="bool" value="false"/>
        </properties>
    </tile>
    <tile id="6">
        <properties>
            <property name="solid" type="bool" value="false"/>
        </properties>
    </tile>
    <tile id="7">
        <properties>
            <property name="solid" type="bool" value="true"/>
        </properties>
    </tile>
</tileset>
