@echo off
rem What an administrator would otherwise write: the same job with reg.exe.
rem Sets DozeguardEnabled to %1 (0 or 1) in every Norvane adapter key of the
rem network class; like DozeguardEnable, it tries all 64 slots. Wine's cmd
rem has neither substrings of variables nor "find /i", so the slots are
rem listed and the vendor mark is matched in upper case.
set class=HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}
for %%s in (0000 0001 0002 0003 0004 0005 0006 0007 0008 0009 0010 0011 0012 0013 0014 0015 0016 0017 0018 0019 0020 0021 0022 0023 0024 0025 0026 0027 0028 0029 0030 0031 0032 0033 0034 0035 0036 0037 0038 0039 0040 0041 0042 0043 0044 0045 0046 0047 0048 0049 0050 0051 0052 0053 0054 0055 0056 0057 0058 0059 0060 0061 0062 0063) do (
  reg query "%class%\%%s" /v MatchingDeviceID 2>nul | find "PCI\VEN_C2F7" >nul
  if not errorlevel 1 reg add "%class%\%%s" /v DozeguardEnabled /t REG_SZ /d %1 /f >nul
)
