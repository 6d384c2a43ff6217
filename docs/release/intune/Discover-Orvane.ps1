& "$env:ProgramFiles\Kestrand\VORN\orvane-check.exe" --intune
