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
    <name>ModelCommandTexts</name>
    <message>
        <source>Try &apos;tavolen model --help&apos;.</source>
        <translation>试试 &apos;tavolen model --help&apos;。</translation>
    </message>
    <message>
        <source>(no models yet)</source>
        <translation>（还没有模型）</translation>
    </message>
    <message>
        <source>No model server answers on this computer (looked for Ollama, llama.cpp, LM Studio and vLLM at their usual ports).</source>
        <translation>这台电脑上没有模型服务器响应（已在常用端口查找 Ollama、llama.cpp、LM Studio 和 vLLM）。</translation>
    </message>
    <message>
        <source>the built-in engine (%1): reads the text and flags risk; writes no replies</source>
        <translation>内置引擎（%1）：读取文字并标出风险；不写回复</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%2 上的 %1</translation>
    </message>
    <message>
        <source>The analysis service now uses %1.</source>
        <translation>分析服务现在使用%1。</translation>
    </message>
    <message>
        <source>use takes URL and MODEL, a server&apos;s name and MODEL, or offline</source>
        <translation>use 需要 URL 和 MODEL、服务器名称和 MODEL，或 offline</translation>
    </message>
    <message>
        <source>Checking %1 at %2…</source>
        <translation>正在检查 %2 上的 %1…</translation>
    </message>
    <message>
        <source>First token after %1 ms.</source>
        <translation>首个词元用时 %1 毫秒。</translation>
    </message>
    <message>
        <source>The API key is in your keyring.</source>
        <translation>API 密钥已存入你的密钥环。</translation>
    </message>
    <message>
        <source>The API key is in %1/llm-api-key, readable by you alone.</source>
        <translation>API 密钥保存在 %1/llm-api-key，只有你能读取。</translation>
    </message>
    <message>
        <source>Run it again with --key-file-ok to allow that.</source>
        <translation>如允许，请加上 --key-file-ok 再运行一次。</translation>
    </message>
    <message>
        <source>The analysis service at %1 does not answer.</source>
        <translation>%1 上的分析服务没有响应。</translation>
    </message>
    <message>
        <source>The analysis service at %1 uses %2.</source>
        <translation>%1 上的分析服务使用%2。</translation>
    </message>
    <message>
        <source>The model answers: first token after %1 ms.</source>
        <translation>模型有响应：首个词元用时 %1 毫秒。</translation>
    </message>
    <message>
        <source>The model server answers (it wants the key the service holds).</source>
        <translation>模型服务器有响应（它需要分析服务持有的密钥）。</translation>
    </message>
    <message>
        <source>For replies, connect a language model: tavolen model detect, then tavolen model use.</source>
        <translation>要获得回复，请接入语言模型：先运行 tavolen model detect，再运行 tavolen model use。</translation>
    </message>
    <message>
        <source>say detect, use or status</source>
        <translation>请指定 detect、use 或 status</translation>
    </message>
    <message>
        <source>unknown command “%1”</source>
        <translation>未知命令“%1”</translation>
    </message>
</context>
<context>
    <name>ModelTexts</name>
    <message>
        <source>The keyring was not unlocked.</source>
        <translation>密钥环没有解锁。</translation>
    </message>
    <message>
        <source>No keyring answered (%1).</source>
        <translation>没有可用的密钥环（%1）。</translation>
    </message>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>无法创建文件夹 %1。</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>“%1” is not an http or https address.</source>
        <translation>“%1”不是 http 或 https 地址。</translation>
    </message>
    <message>
        <source>Nothing answers at %1. Is the model server running?</source>
        <translation>%1 没有响应。模型服务器在运行吗？</translation>
    </message>
    <message>
        <source>%1 did not start answering in time.</source>
        <translation>%1 没有及时开始回答。</translation>
    </message>
    <message>
        <source>%1 refused the API key (status %2).</source>
        <translation>%1 拒绝了 API 密钥（状态 %2）。</translation>
    </message>
    <message>
        <source>%1 has no model named “%2”.</source>
        <translation>%1 上没有名为“%2”的模型。</translation>
    </message>
    <message>
        <source>%1 answered with status %2.</source>
        <translation>%1 返回了状态 %2。</translation>
    </message>
    <message>
        <source>%1 answered, but not with a streamed chat completion.</source>
        <translation>%1 有响应，但不是流式的对话补全。</translation>
    </message>
    <message>
        <source>It says: %1</source>
        <translation>它说：%1</translation>
    </message>
    <message>
        <source>The analysis service at %1 is not on this computer; its own administrator chooses its model.</source>
        <translation>%1 上的分析服务不在这台电脑上，它的模型由其管理员选择。</translation>
    </message>
    <message>
        <source>The analysis service on port %1 cannot be asked to change its model: it is not running, runs as another user, or is too old. Start or restart it.</source>
        <translation>无法请求端口 %1 上的分析服务更换模型：它没有运行、以其他用户身份运行，或者版本太旧。请启动或重启它。</translation>
    </message>
    <message>
        <source>The analysis service at %1 does not answer.</source>
        <translation>%1 上的分析服务没有响应。</translation>
    </message>
    <message>
        <source>The analysis service kept its engine: %1</source>
        <translation>分析服务保留了原来的引擎：%1</translation>
    </message>
    <message>
        <source>The analysis service refused to change its model (status %1).</source>
        <translation>分析服务拒绝更换模型（状态 %1）。</translation>
    </message>
    <message>
        <source>%1 The key can instead be kept in a file that only you can read.</source>
        <translation>%1 密钥也可以改存到只有你能读取的文件中。</translation>
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
    <message>
        <source>Suggested replies need a language model: connect one under Settings in the tray menu.</source>
        <translation>建议回复需要语言模型：可在托盘菜单的“设置”中接入。</translation>
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
    <message>
        <source>Replies need a language model</source>
        <translation>回复需要接入语言模型</translation>
    </message>
    <message>
        <source>Set up…</source>
        <translation>去设置…</translation>
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
    <name>SettingsTexts</name>
    <message>
        <source>What reads your screenshots</source>
        <translation>由谁来读你的截图</translation>
    </message>
    <message>
        <source>Built-in — reads the text and flags risk; no replies</source>
        <translation>内置引擎 — 读取文字并标出风险；不写回复</translation>
    </message>
    <message>
        <source>A language model — full readings and replies</source>
        <translation>语言模型 — 完整解读和回复</translation>
    </message>
    <message>
        <source>&amp;Model servers on this computer:</source>
        <translation>这台电脑上的模型服务器(&amp;M)：</translation>
    </message>
    <message>
        <source>Model servers on this computer</source>
        <translation>这台电脑上的模型服务器</translation>
    </message>
    <message>
        <source>&amp;Look again</source>
        <translation>重新查找(&amp;L)</translation>
    </message>
    <message>
        <source>Base &amp;URL:</source>
        <translation>基础地址(&amp;U)：</translation>
    </message>
    <message>
        <source>M&amp;odel:</source>
        <translation>模型(&amp;O)：</translation>
    </message>
    <message>
        <source>API &amp;key:</source>
        <translation>API 密钥(&amp;K)：</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>测试(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Use</source>
        <translation>使用(&amp;U)</translation>
    </message>
    <message>
        <source>The analysis service does not answer now.</source>
        <translation>分析服务现在没有响应。</translation>
    </message>
    <message>
        <source>Now: the built-in engine. Replies need a language model.</source>
        <translation>当前：内置引擎。回复需要接入语言模型。</translation>
    </message>
    <message>
        <source>Now: %1 at %2.</source>
        <translation>当前：%2 上的 %1。</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>%1 — no models yet; pull one first</source>
        <translation>%1 — 还没有模型，请先拉取一个</translation>
    </message>
    <message>
        <source>None found (Ollama, llama.cpp, LM Studio, vLLM)</source>
        <translation>未找到（Ollama、llama.cpp、LM Studio、vLLM）</translation>
    </message>
    <message>
        <source>Other (OpenAI-compatible)…</source>
        <translation>其他（兼容 OpenAI）…</translation>
    </message>
    <message>
        <source>Asking %1 for one short reply…</source>
        <translation>正在请 %1 写一句简短回复…</translation>
    </message>
    <message>
        <source>It answers: first token after %1 ms.</source>
        <translation>有响应：首个词元用时 %1 毫秒。</translation>
    </message>
    <message>
        <source>Switching to the built-in engine…</source>
        <translation>正在切换到内置引擎…</translation>
    </message>
    <message>
        <source>Checking %1, then switching…</source>
        <translation>正在检查 %1，然后切换…</translation>
    </message>
    <message>
        <source>Keep the key in a file?</source>
        <translation>把密钥保存在文件中？</translation>
    </message>
    <message>
        <source>Keep it in a file in %1 that only you can read?</source>
        <translation>保存到 %1 中一个只有你能读取的文件里吗？</translation>
    </message>
    <message>
        <source>Done: the built-in engine reads your screenshots now.</source>
        <translation>完成：现在由内置引擎读取你的截图。</translation>
    </message>
    <message>
        <source>Done: %1 writes your readings and replies now (first token after %2 ms).</source>
        <translation>完成：现在由 %1 撰写解读和回复（首个词元用时 %2 毫秒）。</translation>
    </message>
    <message>
        <source>&amp;Language:</source>
        <translation>语言(&amp;L)：</translation>
    </message>
    <message>
        <source>Play a &amp;sound on capture</source>
        <translation>截图时播放提示音(&amp;S)</translation>
    </message>
    <message>
        <source>Start Tavolen when I &amp;log in</source>
        <translation>登录时启动 Tavolen(&amp;L)</translation>
    </message>
    <message>
        <source>Hot key:</source>
        <translation>快捷键：</translation>
    </message>
    <message>
        <source>Alt+Shift+S captures from any window.</source>
        <translation>在任何窗口按 Alt+Shift+S 即可截图。</translation>
    </message>
    <message>
        <source>Alt+Shift+S is not available to Tavolen here. Bind the command “tavolen capture” to a key in your desktop&apos;s keyboard settings (GNOME: Settings → Keyboard → Custom Shortcuts; KDE: System Settings → Shortcuts).</source>
        <translation>Tavolen 在这里无法使用 Alt+Shift+S。请在桌面的键盘设置中把命令“tavolen capture”绑定到一个按键（GNOME：设置 → 键盘 → 自定义快捷键；KDE：系统设置 → 快捷键）。</translation>
    </message>
    <message>
        <source>The analysis service</source>
        <translation>分析服务</translation>
    </message>
    <message>
        <source>Screenshots are read by the service on this computer. If your team runs a shared one, enter its address; leave it empty for the one on this computer.</source>
        <translation>截图由这台电脑上的服务读取。如果你的团队有共用的分析服务，请填写它的地址；留空则使用这台电脑上的服务。</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>地址(&amp;A)：</translation>
    </message>
    <message>
        <source>Save and &amp;check</source>
        <translation>保存并检查(&amp;C)</translation>
    </message>
    <message>
        <source>“%1” is not an http or https address; nothing was changed.</source>
        <translation>“%1”不是 http 或 https 地址，未做任何更改。</translation>
    </message>
    <message>
        <source>Checking %1…</source>
        <translation>正在检查 %1…</translation>
    </message>
    <message>
        <source>%1 does not answer.</source>
        <translation>%1 没有响应。</translation>
    </message>
    <message>
        <source>%1 answers; it runs the built-in engine (no replies).</source>
        <translation>%1 有响应；它运行的是内置引擎（不写回复）。</translation>
    </message>
    <message>
        <source>%1 answers; it runs %2.</source>
        <translation>%1 有响应；它运行的是 %2。</translation>
    </message>
    <message>
        <source>Tavolen Settings</source>
        <translation>Tavolen 设置</translation>
    </message>
    <message>
        <source>&amp;Analysis</source>
        <translation>分析(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Service</source>
        <translation>服务(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>通用(&amp;G)</translation>
    </message>
    <message>
        <source>The model reads &amp;pictures: send it the screenshot, and replies start sooner</source>
        <translation>模型能看图片(&amp;P)：直接发送截图，回复更快开始</translation>
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
        <source>Snap it</source>
        <translation>Snap 一下</translation>
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
        <source>Quit Tavolen</source>
        <translation>退出 Tavolen</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>设置…</translation>
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
        <source>Updates to Tavolen come with your system&apos;s package manager.</source>
        <translation>Tavolen 的更新随系统的软件包管理器提供。</translation>
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
