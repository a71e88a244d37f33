<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AutostartTexts</name>
    <message>
        <source>could not create the folder of %1.</source>
        <translation>无法创建 %1 所在的文件夹。</translation>
    </message>
    <message>
        <source>could not write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Tavolen will start when you log in (%1).</source>
        <translation>Tavolen 将在登录时启动（%1）。</translation>
    </message>
    <message>
        <source>Tavolen was not set to start at login; nothing to remove (%1).</source>
        <translation>Tavolen 未设置为登录时启动，无需移除（%1）。</translation>
    </message>
    <message>
        <source>could not remove %1: %2</source>
        <translation>无法删除 %1：%2</translation>
    </message>
    <message>
        <source>Tavolen will no longer start when you log in (removed %1).</source>
        <translation>Tavolen 将不再在登录时启动（已删除 %1）。</translation>
    </message>
    <message>
        <source>Usage: tavolen autostart on|off
</source>
        <translation>用法：tavolen autostart on|off
</translation>
    </message>
</context>
<context>
    <name>CaptureTexts</name>
    <message>
        <source>Capture failed — try again</source>
        <translation>截屏失败，请重试</translation>
    </message>
    <message>
        <source>This screen&apos;s colours (%1-bit, from a palette) cannot be captured</source>
        <translation>无法截取此屏幕：不支持 %1 位调色板颜色</translation>
    </message>
    <message>
        <source>Drag to select a region · Esc to cancel</source>
        <translation>拖动选择区域 · Esc 取消</translation>
    </message>
    <message>
        <source>Click to snap a window · drag for a region · Esc to cancel</source>
        <translation>单击选中窗口 · 拖拽精确框选 · Esc 取消</translation>
    </message>
</context>
<context>
    <name>ErrorTexts</name>
    <message>
        <source>The analysis service at %1 refused the connection. It may be down; try again later.</source>
        <translation>分析服务 %1 拒绝了连接，可能暂时不可用，请稍后再试。</translation>
    </message>
    <message>
        <source>Couldn&apos;t find the analysis service at %1. Check the address and your internet connection.</source>
        <translation>找不到分析服务 %1，请检查地址和网络连接。</translation>
    </message>
    <message>
        <source>The analysis service at %1 stopped answering. Try again.</source>
        <translation>分析服务 %1 长时间没有回应，请重试。</translation>
    </message>
    <message>
        <source>The analysis took too long and was stopped. Try again.</source>
        <translation>分析用时过长，已停止，请重试。</translation>
    </message>
    <message>
        <source>Couldn&apos;t connect securely to %1. Check the address (http or https) and the system&apos;s certificates.</source>
        <translation>无法与 %1 建立安全连接。请检查地址（http 还是 https）和系统证书。</translation>
    </message>
    <message>
        <source>The analysis service closed the connection before it answered. Try again.</source>
        <translation>分析服务在回答前断开了连接，请重试。</translation>
    </message>
    <message>
        <source>The proxy couldn&apos;t reach the analysis service. Check your proxy settings.</source>
        <translation>代理无法连接分析服务，请检查代理设置。</translation>
    </message>
    <message>
        <source>No response</source>
        <translation>无网络响应</translation>
    </message>
    <message>
        <source>Couldn&apos;t reach the analysis service at %1.</source>
        <translation>无法连接分析服务 %1。</translation>
    </message>
    <message>
        <source>Nothing answered at %1: the local analysis service may not be running. Start it with tavolen-service, then try again.</source>
        <translation>%1 没有响应：本机分析服务可能没有运行。请先启动 tavolen-service，再试一次。</translation>
    </message>
    <message>
        <source>its address</source>
        <translation>该地址</translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation>（%1）</translation>
    </message>
    <message>
        <source>That didn&apos;t work — try again</source>
        <translation>这次没分析成功，请重试</translation>
    </message>
    <message>
        <source>You&apos;ve used today&apos;s free analyses.</source>
        <translation>今天的免费次数用完了，明天再试试。</translation>
    </message>
    <message>
        <source>Unexpected response</source>
        <translation>返回格式异常</translation>
    </message>
</context>
<context>
    <name>InterfaceLanguage</name>
    <message>
        <source>en</source>
        <comment>The tag of this language that the analysis service understands: en or zh-Hans</comment>
        <translation>zh-Hans</translation>
    </message>
</context>
<context>
    <name>MainTexts</name>
    <message>
        <source>No graphical session found (DISPLAY and WAYLAND_DISPLAY are unset)</source>
        <translation>未找到图形会话（DISPLAY 和 WAYLAND_DISPLAY 均未设置）</translation>
    </message>
</context>
<context>
    <name>OnboardingTexts</name>
    <message>
        <source>Snap the screen. Know what to say.</source>
        <translation>截图一下，马上知道怎么回。</translation>
    </message>
    <message>
        <source>See a post, comment, or DM you&apos;re unsure about? Press Alt+Shift+S and select it — Tavolen reads the tone, judges the moment, and puts the right line on your clipboard.</source>
        <translation>看到看不懂、拿不准的帖子、评论或私信，按 Alt+Shift+S 框选它——Tavolen 读懂语气、给出判断，把最合适的一句话放进剪贴板。</translation>
    </message>
    <message>
        <source>Allow Screen Capture</source>
        <translation>允许屏幕捕获</translation>
    </message>
    <message>
        <source>Granted — relaunching…</source>
        <translation>已授权，正在重启…</translation>
    </message>
    <message>
        <source>Waiting for permission… (auto-relaunches once granted)</source>
        <translation>等待授权…（授权后会自动重启）</translation>
    </message>
    <message>
        <source>One permission: Screen capture</source>
        <translation>需要一次「屏幕捕获」授权</translation>
    </message>
    <message>
        <source>Captures only the region you select, only when you press the hotkey. Deleted after analysis. Never watches in the background.</source>
        <translation>只在你按下快捷键时截取你框选的区域，分析完即删，绝不后台监听。</translation>
    </message>
</context>
<context>
    <name>PanelTexts</name>
    <message>
        <source>Hide translation</source>
        <translation>收起翻译</translation>
    </message>
    <message>
        <source>Full translation</source>
        <translation>看全文翻译</translation>
    </message>
    <message>
        <source>What&apos;s really going on</source>
        <translation>核心解析</translation>
    </message>
    <message>
        <source>Copied · Ctrl+V</source>
        <translation>已复制 · Ctrl+V</translation>
    </message>
    <message>
        <source>Analyzed · screenshot not kept</source>
        <translation>已分析 · 截图未保存</translation>
    </message>
    <message>
        <source>Reading-only · no reply needed</source>
        <translation>阅读内容 · 无需回复</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>原版</translation>
    </message>
    <message>
        <source>Shorter</source>
        <translation>更短</translation>
    </message>
    <message>
        <source>Reading the room…</source>
        <translation>读懂语气中…</translation>
    </message>
    <message>
        <source>Writing your reply…</source>
        <translation>正在想怎么回…</translation>
    </message>
    <message>
        <source>Screen capture permission needed: this session does not let Tavolen read the screen. Allow screen capture for Tavolen when your desktop asks, or sign in to an X11 session, then try again.</source>
        <translation>需要「屏幕捕获」权限：当前会话不允许 Tavolen 读取屏幕。请在桌面询问时允许 Tavolen 捕获屏幕，或登录 X11 会话，然后重试。</translation>
    </message>
    <message>
        <source>Allow Screen Capture</source>
        <translation>允许屏幕捕获</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Suggested reply. Press to copy it.</source>
        <translation>建议回复，按下即可复制。</translation>
    </message>
    <message>
        <source>Suggested reply</source>
        <translation>建议回复</translation>
    </message>
</context>
<context>
    <name>ReadyNoteTexts</name>
    <message>
        <source>Tavolen is ready — press Alt+Shift+S</source>
        <translation>Tavolen 已就绪 · 按 Alt+Shift+S 试试</translation>
    </message>
</context>
<context>
    <name>ShellTexts</name>
    <message>
        <source>Capture and read a message</source>
        <translation>截取并阅读一条消息</translation>
    </message>
</context>
<context>
    <name>TrayTexts</name>
    <message>
        <source>Nothing is ever stored</source>
        <translation>不留存任何截图</translation>
    </message>
    <message>
        <source>Snap it (Alt+Shift+S)</source>
        <translation>Snap 一下（Alt+Shift+S）</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>System</source>
        <translation>跟随系统</translation>
    </message>
    <message>
        <source>No update source is set</source>
        <translation>未设置更新来源</translation>
    </message>
    <message>
        <source>Quit Tavolen</source>
        <translation>退出 Tavolen</translation>
    </message>
</context>
<context>
    <name>UpdateTexts</name>
    <message>
        <source>the update feed&apos;s address is not a web address.</source>
        <translation>更新源的地址不是网址。</translation>
    </message>
    <message>
        <source>the update feed is larger than %1 bytes.</source>
        <translation>更新源超过 %1 字节。</translation>
    </message>
    <message>
        <source>the update feed did not answer in time.</source>
        <translation>更新源未及时响应。</translation>
    </message>
    <message>
        <source>the update feed could not be reached (%1).</source>
        <translation>无法连接更新源（%1）。</translation>
    </message>
    <message>
        <source>the update feed did not answer.</source>
        <translation>更新源没有响应。</translation>
    </message>
    <message>
        <source>the update feed answered with HTTP %1.</source>
        <translation>更新源返回了 HTTP %1。</translation>
    </message>
    <message>
        <source>Tavolen %1 is up to date.</source>
        <translation>Tavolen %1 已是最新版本。</translation>
    </message>
    <message>
        <source>Tavolen %1 is available.</source>
        <translation>Tavolen %1 已发布。</translation>
    </message>
    <message>
        <source>No update source is set for this build.</source>
        <translation>此版本未设置更新来源。</translation>
    </message>
    <message>
        <source>Could not check for updates: %1</source>
        <translation>无法检查更新：%1</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>检查更新…</translation>
    </message>
    <message>
        <source>Open Download Page</source>
        <translation>打开下载页面</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>以后再说</translation>
    </message>
    <message>
        <source>the update feed is not valid XML (%1).</source>
        <translation>更新源不是有效的 XML（%1）。</translation>
    </message>
    <message>
        <source>the update feed lists no version.</source>
        <translation>更新源中没有版本信息。</translation>
    </message>
</context>
</TS>
